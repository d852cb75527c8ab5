// The HEIF-family locator over built files and real ones: where it finds the TIFF data in each
// layout the boxes allow, what it refuses, which Exif item it takes, and that its work does not
// grow with the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "position/isobmff/heif_locator.h"
#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/box_builder.h"

namespace {

constexpr uint32_t IMAGE_ID = 1;
constexpr uint32_t EXIF_ID = 2;
constexpr uint32_t THUMBNAIL_ID = 5;
constexpr uint32_t SECOND_EXIF_ID = 3;
const Bytes IMAGE_DATA(32, 0xAB);

// 35°39'29.36" N (or another whole number of degrees), 139°44'49.50" W.
Bytes GpsTiff(uint32_t latitudeDegrees = 35) {
    return BuildTiff(PositionLayout(ByteOrder::MOTOROLA, 'N', Dms(latitudeDegrees, 39, 2936), 'W',
                                    Dms(139, 44, 4950)));
}
uint64_t LatitudeOf(uint64_t degrees) {
    return degrees * 3600000000u + 2340000000u + 29360000u;
}
constexpr uint64_t LONGITUDE = 503089500000u;

enum class Sizing { PLAIN, LARGE, TO_END };

Bytes SizedBox(Sizing sizing, const std::string& type, const Bytes& payload) {
    return sizing == Sizing::LARGE    ? LargeBox(type, payload)
           : sizing == Sizing::TO_END ? BoxToEnd(type, payload)
                                      : Box(type, payload);
}

struct Item {
    uint32_t id;
    std::string type;
    Bytes data;
};

// A photo: ftyp, the front boxes, meta (hdlr, pitm, iinf, iref, iloc, and idat when the data
// lies there), then an mdat with every item's data in order, unless it lies in idat.
struct Photo {
    bool withFtyp = true;
    Bytes front;
    std::string metaType = "meta";
    uint8_t metaVersion = 0;
    Sizing metaSizing = Sizing::PLAIN;  // TO_END only with the data in idat, meta then last
    Sizing mdatSizing = Sizing::PLAIN;
    uint8_t iinfVersion = 0;
    uint32_t iinfCount = 0;  // 0: as many as there are items
    uint8_t infeVersion = 2;
    uint16_t exifProtection = 0;
    uint8_t referenceVersion = 0;  // of pitm and iref
    IlocFormat iloc{1, 4, 4, 0, 0};
    uint32_t ilocCount = 0;  // 0: as many as there are items
    uint64_t base = 0;       // the base offset of every entry, taken off its extent
    bool inIdat = false;
    std::vector<Item> items = {{IMAGE_ID, "hvc1", IMAGE_DATA},
                               {EXIF_ID, "Exif", ExifItemData(GpsTiff())}};
    std::vector<ItemReference> references = {{"cdsc", EXIF_ID, {IMAGE_ID}}};
    void (*editExif)(ItemLocation*) = nullptr;  // applied to the entry of EXIF_ID
    void (*editMeta)(std::vector<Bytes>*) = nullptr;
    Bytes metaTail;  // behind meta's last child
};

uint32_t CountOr(uint32_t count, size_t size) {
    return count != 0 ? count : static_cast<uint32_t>(size);
}

Bytes MetaOf(const Photo& photo, uint64_t dataStart) {
    std::vector<Bytes> infos;
    std::vector<ItemLocation> locations;
    Bytes data;
    for (const Item& item : photo.items) {
        const bool exif = item.id == EXIF_ID;
        infos.push_back(
            Infe(photo.infeVersion, item.id, item.type, exif ? photo.exifProtection : 0));
        ItemLocation location{item.id,
                              photo.inIdat ? uint8_t{1} : uint8_t{0},
                              photo.base,
                              {{dataStart + data.size() - photo.base, item.data.size()}}};
        if (exif && photo.editExif) {
            photo.editExif(&location);
        }
        locations.push_back(location);
        data = Concat({data, item.data});
    }
    std::vector<Bytes> children = {
        PictHandler(), Pitm(photo.referenceVersion, IMAGE_ID),
        Iinf(photo.iinfVersion, CountOr(photo.iinfCount, infos.size()), infos),
        Iref(photo.referenceVersion, photo.references),
        Iloc(photo.iloc, CountOr(photo.ilocCount, locations.size()), locations)};
    if (photo.inIdat) {
        children.push_back(Box("idat", data));
    }
    if (photo.editMeta) {
        photo.editMeta(&children);
    }
    children.push_back(photo.metaTail);
    return SizedBox(photo.metaSizing, photo.metaType,
                    Concat({{photo.metaVersion, 0, 0, 0}, Concat(children)}));
}

Bytes Build(const Photo& photo) {
    const Bytes head = Concat({photo.withFtyp ? Ftyp("heic") : Bytes{}, photo.front});
    if (photo.inIdat) {
        return Concat({head, MetaOf(photo, 0)});
    }
    Bytes data;
    for (const Item& item : photo.items) {
        data = Concat({data, item.data});
    }
    const Bytes mdat = SizedBox(photo.mdatSizing, "mdat", data);
    const uint64_t dataStart = head.size() + MetaOf(photo, 0).size() + (mdat.size() - data.size());
    return Concat({head, MetaOf(photo, dataStart), mdat});
}

void Drop(std::vector<Bytes>* children, const std::string& type) {
    children->erase(std::remove_if(children->begin(), children->end(),
                                   [&](const Bytes& box) {
                                       return std::string(box.begin() + 4, box.begin() + 8) == type;
                                   }),
                    children->end());
}

uint32_t Find(const Bytes& file, const Bytes& part) {
    return static_cast<uint32_t>(std::search(file.begin(), file.end(), part.begin(), part.end()) -
                                 file.begin());
}

struct Located {
    Status status;
    FileWindow window;
    uint64_t standing;  // the position the locator left
};

Located Locate(const Bytes& file) {
    Located located{};
    FileSource source(OpenMemoryFile(file), FileAccess::READ_AHEAD);
    located.status = LocateHeifExif(source, &located.window);
    located.standing = source.Position();
    return located;
}

Status ReadPosition(const Bytes& file, GpsPosition* position) {
    CQuorielReader reader;
    return ReadGpsPosition(reader, OpenMemoryFile(file), FileKind::HEIF, position);
}

void ExpectFound(const Bytes& file, const Bytes& tiff, uint64_t latitude = LatitudeOf(35)) {
    const Located located = Locate(file);
    ASSERT_EQ(located.status, RESULT_DONE);
    EXPECT_EQ(located.window.start, Find(file, tiff));
    EXPECT_EQ(located.window.length, tiff.size());
    EXPECT_EQ(located.standing, located.window.start);
    GpsPosition position{};
    ASSERT_EQ(ReadPosition(file, &position), RESULT_DONE);
    EXPECT_EQ(position.latitude, latitude);
    EXPECT_EQ(position.longitude, LONGITUDE);
    EXPECT_TRUE(position.north);
    EXPECT_FALSE(position.east);
}

// A change to the standard photo, and one to its Exif item's location entry.
struct Case {
    const char* name;
    void (*edit)(Photo*);
    void (*editExif)(ItemLocation*) = nullptr;
};

void Keep(Photo*) {}

Bytes Edited(const Case& c) {
    Photo photo;
    photo.editExif = c.editExif;
    c.edit(&photo);
    return Build(photo);
}

// Every layout the boxes allow for one Exif item, all giving the same TIFF data.
const Case LAYOUTS[] = {
    {"iinf v0, infe v2, iloc v1 4/4", Keep},
    {"iinf v1 with a 32-bit count", [](Photo* p) { p->iinfVersion = 1; }},
    {"infe v3 with 32-bit IDs", [](Photo* p) { p->infeVersion = 3; }},
    {"pitm and iref v1 with 32-bit IDs", [](Photo* p) { p->referenceVersion = 1; }},
    {"iloc v0 8/8, base offsets of 4",
     [](Photo* p) {
         p->iloc = {0, 8, 8, 4, 0};
         p->base = 100;
     }},
    {"iloc v1 4/8, indexes of 4, base 8",
     [](Photo* p) {
         p->iloc = {1, 4, 8, 8, 4};
         p->base = 7;
     }},
    {"iloc v2, 32-bit IDs and count, all 8",
     [](Photo* p) {
         p->iloc = {2, 8, 8, 8, 8};
     }},
    {"data in idat (iloc v1)", [](Photo* p) { p->inIdat = true; }},
    {"data in idat (iloc v2)",
     [](Photo* p) {
         p->inIdat = true;
         p->iloc = {2, 4, 4, 0, 0};
     }},
    {"meta last, of size 0",
     [](Photo* p) {
         p->inIdat = true;
         p->metaSizing = Sizing::TO_END;
     }},
    {"meta of 64-bit size", [](Photo* p) { p->metaSizing = Sizing::LARGE; }},
    {"mdat of size 0", [](Photo* p) { p->mdatSizing = Sizing::TO_END; }},
    {"free, uuid and a 64-bit mdat before meta",
     [](Photo* p) {
         p->front = Concat({Box("free", {}), Box("uuid", Bytes(16)), LargeBox("mdat", Bytes(40))});
     }},
    {"nothing to skip", [](Photo* p) { p->items[1].data = ExifItemData(GpsTiff(), 0); }},
    {"iinf counting 65,535 entries holds two: the walk ends with the box",
     [](Photo* p) { p->iinfCount = 65535; }},
    {"two contiguous extents make one item", Keep,
     [](ItemLocation* e) {
         const Extent whole = e->extents[0];
         e->extents = {{whole.offset, 10}, {whole.offset + 10, whole.length - 10}};
     }},
    {"an extent elsewhere after the first is not part of the item", Keep,
     [](ItemLocation* e) {
         e->extents.push_back({0, 8});
     }},
};

TEST(HeifLocator, FindsTheTiffDataInEveryLayout) {
    for (const Case& c : LAYOUTS) {
        SCOPED_TRACE(c.name);
        ExpectFound(Edited(c), GpsTiff());
    }
}

void DropIinf(std::vector<Bytes>* children) {
    Drop(children, "iinf");
}
void DropIloc(std::vector<Bytes>* children) {
    Drop(children, "iloc");
}
void DropIdat(std::vector<Bytes>* children) {
    Drop(children, "idat");
}

// Damaged containers, and Exif items placed in a way not read: each is no Exif.
const Case REFUSALS[] = {
    {"meta before ftyp", [](Photo* p) { p->withFtyp = false; }},
    {"no meta", [](Photo* p) { p->metaType = "moov"; }},
    {"meta of version 1", [](Photo* p) { p->metaVersion = 1; }},
    // Each size is too small for its own header, and the bytes behind the size would make a
    // box of 12 bytes, so that a walk trusting the size would go on to meta.
    {"a size of 4",
     [](Photo* p) {
         p->front = Concat({BoxHeader(std::string("\0\0\0\x0c", 4), 4), Box("free", {})});
     }},
    {"a 64-bit size of 12",
     [](Photo* p) {
         p->front = Concat({LargeBoxHeader("free", 12), Box("free", {})});
     }},
    {"an mdat past the end of the file", [](Photo* p) { p->front = BoxHeader("mdat", 1 << 30); }},
    {"a 64-bit size beyond the file",
     [](Photo* p) { p->front = LargeBoxHeader("mdat", 1ull << 40); }},
    {"a child past the end of meta", [](Photo* p) { p->metaTail = BoxHeader("free", 64); }},
    {"meta without iinf", [](Photo* p) { p->editMeta = DropIinf; }},
    {"meta without iloc", [](Photo* p) { p->editMeta = DropIloc; }},
    {"no item of type Exif", [](Photo* p) { p->items[1].type = "mime"; }},
    {"infe v1, which has no item type", [](Photo* p) { p->infeVersion = 1; }},
    {"a protected Exif item", [](Photo* p) { p->exifProtection = 1; }},
    {"iloc without the Exif item", Keep, [](ItemLocation* e) { e->id = 9; }},
    {"iloc counting 65,535 entries, the Exif item's missing",
     [](Photo* p) { p->ilocCount = 65535; }, [](ItemLocation* e) { e->id = 9; }},
    {"iloc of version 3", [](Photo* p) { p->iloc.version = 3; }},
    {"iloc offsets of 2 bytes",
     [](Photo* p) {
         p->iloc = {1, 2, 4, 0, 0};
     }},
    {"construction method 2", Keep, [](ItemLocation* e) { e->construction = 2; }},
    {"data in another file", Keep, [](ItemLocation* e) { e->dataReference = 1; }},
    {"data in idat without idat",
     [](Photo* p) {
         p->inIdat = true;
         p->editMeta = DropIdat;
     }},
    {"no extent", Keep, [](ItemLocation* e) { e->extents.clear(); }},
    {"an extent of length 0", Keep, [](ItemLocation* e) { e->extents[0].length = 0; }},
    {"an item offset past the file", Keep,
     [](ItemLocation* e) { e->extents[0].offset += 1 << 20; }},
    {"an item running past the file", Keep, [](ItemLocation* e) { e->extents[0].length += 1; }},
    {"an item running past idat",
     [](Photo* p) {
         p->inIdat = true;
         p->metaTail = Box("free", {});
     },
     [](ItemLocation* e) { e->extents[0].length += 1; }},
    {"an item shorter than its skip count",
     [](Photo* p) {
         p->items[1].data = {0, 0, 0};
     }},
    {"a skip count past the item",
     [](Photo* p) {
         p->items[1].data = Concat({BigEndian(4, GpsTiff().size() + 1), GpsTiff()});
     }},
};

TEST(HeifLocator, RefusesDamagedOrUnreadableContainers) {
    for (const Case& c : REFUSALS) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Locate(Edited(c)).status, RESULT_NO_EXIF);
    }
}

// Two Exif items: the first describes a thumbnail (latitude 10°), the second the primary item.
Photo TwoExifItems() {
    Photo p;
    p.items = {{IMAGE_ID, "hvc1", IMAGE_DATA},
               {THUMBNAIL_ID, "hvc1", IMAGE_DATA},
               {EXIF_ID, "Exif", ExifItemData(GpsTiff(10))},
               {SECOND_EXIF_ID, "Exif", ExifItemData(GpsTiff(20))}};
    p.references = {{"thmb", THUMBNAIL_ID, {IMAGE_ID}},
                    {"cdsc", EXIF_ID, {THUMBNAIL_ID}},
                    {"cdsc", SECOND_EXIF_ID, {THUMBNAIL_ID, IMAGE_ID}}};
    return p;
}

TEST(HeifLocator, PrefersTheExifItemOfThePrimaryItem) {
    struct Choice {
        const char* name;
        Photo photo;
        uint32_t latitudeDegrees;
    };
    Photo longIds = TwoExifItems();
    longIds.infeVersion = 3;
    longIds.referenceVersion = 1;
    Photo withoutPitm = TwoExifItems();
    withoutPitm.editMeta = [](std::vector<Bytes>* children) { Drop(children, "pitm"); };
    Photo withoutIref = TwoExifItems();
    withoutIref.editMeta = [](std::vector<Bytes>* children) { Drop(children, "iref"); };
    const Choice choices[] = {
        {"cdsc to the primary item", TwoExifItems(), 20},
        {"32-bit IDs", longIds, 20},
        {"no primary item: the first", withoutPitm, 10},
        {"no references: the first", withoutIref, 10},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.name);
        ExpectFound(Build(choice.photo), GpsTiff(choice.latitudeDegrees),
                    LatitudeOf(choice.latitudeDegrees));
    }
}

// A photo with count coded items ahead of the Exif item's entry in iinf or in iloc; the Exif
// data in an mdat before meta, so that its offset is known before meta is built.
Bytes ManyItems(uint32_t count, bool exifLastInIinf) {
    const Bytes exif = ExifItemData(GpsTiff());
    const Bytes head = Concat({Ftyp("heic"), Box("mdat", exif)});
    const Bytes exifInfo = Infe(3, EXIF_ID, "Exif");
    const Bytes imageInfo = Infe(3, IMAGE_ID, "hvc1");
    Bytes infos = exifLastInIinf ? Bytes{} : exifInfo;
    std::vector<ItemLocation> locations;
    for (uint32_t i = 0; i < count; ++i) {
        infos.insert(infos.end(), imageInfo.begin(), imageInfo.end());
        locations.push_back({IMAGE_ID, 0, 0, {{0, 1}}});
    }
    if (exifLastInIinf) {
        infos.insert(infos.end(), exifInfo.begin(), exifInfo.end());
    }
    locations.push_back({EXIF_ID, 0, 0, {{head.size() - exif.size(), exif.size()}}});
    const Bytes meta = Concat({BigEndian(4, 0), PictHandler(), Iinf(1, count + 1, {infos}),
                               Iloc({2, 4, 4, 0, 0}, locations)});
    return Concat({head, Box("meta", meta)});
}

// Beyond the limits of the walk the Exif item is as if absent, however many entries there are.
TEST(HeifLocator, ItemCountsBeyondTheLimitsEndInAnOutcome) {
    for (bool exifLastInIinf : {true, false}) {
        SCOPED_TRACE(exifLastInIinf ? "Exif last in iinf" : "Exif last in iloc only");
        EXPECT_EQ(Locate(ManyItems(10, exifLastInIinf)).status, RESULT_DONE);
        EXPECT_EQ(Locate(ManyItems(70000, exifLastInIinf)).status, RESULT_NO_EXIF);
        // A walk of every entry would read 1.4 MB, 350 blocks.
        EXPECT_LT(MemoryFile().Calls(), 150u);
    }
}

// What is read does not depend on the size of the image data in front of meta: the same calls
// and bytes for 1 and 2 MiB, a few of them, none starting inside the image data.
TEST(HeifLocator, ReadsNoMoreForALargerMdatBeforeMeta) {
    size_t calls[2] = {};
    uint64_t delivered[2] = {};
    for (size_t larger : {0, 1}) {
        const size_t size = size_t{1} << (20 + larger);
        Photo p;
        p.front = Box("mdat", Bytes(size, 0x5A));
        GpsPosition position{};
        ASSERT_EQ(ReadPosition(Build(p), &position), RESULT_DONE);
        const uint64_t payloadStart = Ftyp("heic").size() + 8;
        for (const ReadRecord& read : MemoryFile().reads) {
            EXPECT_TRUE(read.offset < payloadStart || read.offset >= payloadStart + size)
                << "read at " << read.offset;
        }
        calls[larger] = MemoryFile().Calls();
        delivered[larger] = MemoryFile().Delivered();
    }
    EXPECT_EQ(calls[0], calls[1]);
    EXPECT_EQ(delivered[0], delivered[1]);
    EXPECT_LE(calls[1], 3u) << "the size, the front, meta with the Exif item";
}

Bytes ReadDataFile(const std::string& name) {
    std::ifstream in(std::string(QUORIEL_TEST_DATA "/") + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An iPhone photo and files that libheif's heif-enc made and ExifTool gave a position.
TEST(HeifLocator, ReadsRealFiles) {
    struct RealFile {
        const char* name;
        FileWindow window;
        bool north;
        uint64_t latitude;
        bool east;
        uint64_t longitude;
    };
    const RealFile files[] = {
        {"corpus/IMG_5195.HEIC", {3041, 2458}, true, 140584840000u, false, 339439580000u},
        {"formats/gps_exiftool.heic", {433, 204}, true, 128371197600u, true, 503083497600u},
        {"formats/gps_exiftool.avif", {345, 204}, false, 82469998800u, false, 155421597600u},
    };
    for (const RealFile& f : files) {
        SCOPED_TRACE(f.name);
        const Bytes file = ReadDataFile(f.name);
        ASSERT_FALSE(file.empty());
        const Located located = Locate(file);
        ASSERT_EQ(located.status, RESULT_DONE);
        EXPECT_EQ(located.window.start, f.window.start);
        EXPECT_EQ(located.window.length, f.window.length);
        GpsPosition position{};
        ASSERT_EQ(ReadPosition(file, &position), RESULT_DONE);
        EXPECT_EQ(position.north, f.north);
        EXPECT_EQ(position.latitude, f.latitude);
        EXPECT_EQ(position.east, f.east);
        EXPECT_EQ(position.longitude, f.longitude);
    }
}

}  // namespace
