// The video location reading over built movies: each record and layout, the order among the
// records, what is damage and what is no location, and a media box past 4 GiB passed over in
// a few calls.
#include <gtest/gtest.h>

#include <string>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/box_builder.h"

namespace {

// 35.6586 N 139.7454 E in micro-arcseconds, and the 16.16 pair -33.8568, 151.2153 as ffmpeg
// writes it.
constexpr uint64_t LATITUDE = 128370960000u;
constexpr uint64_t LONGITUDE = 503083440000u;
constexpr uint32_t FIXED_LATITUDE = 0xFFDE24A9;
constexpr uint32_t FIXED_LONGITUDE = 0x0097371D;
constexpr uint64_t FIXED_LATITUDE_MAS = 121884466552u;
constexpr uint64_t FIXED_LONGITUDE_MAS = 544375030517u;
const std::string TEXT = "+35.6586+139.7454/";
const std::string KEY = "com.apple.quicktime.location.ISO6709";

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Xyz(const std::string& text) {
    return Box("\xA9xyz", Concat({BigEndian(2, text.size()), BigEndian(2, 0x55C4), Text(text)}));
}

Bytes Loci(uint32_t latitude, uint32_t longitude, const Bytes& name = {0}) {
    return FullBox("loci", 0, 0,
                   Concat({BigEndian(2, 0),
                           name,
                           {0},
                           BigEndian(4, longitude),
                           BigEndian(4, latitude),
                           BigEndian(4, 0),
                           Text("earth"),
                           {0, 0}}));
}

// A data box of type 1 (UTF-8), locale 0.
Bytes Data(const std::string& text) {
    return Box("data", Concat({BigEndian(4, 1), BigEndian(4, 0), Text(text)}));
}

// udta/meta in the iTunes layout: version and flags, hdlr, and an ilst with the encoder's item
// before the one holding data.
Bytes ItemList(const Bytes& data, const std::string& handler = "mdir",
               const std::string& item = "\xA9xyz") {
    const Bytes items = Concat({Box("\xA9too", Data("Lavf59.27.100")), Box(item, data)});
    return FullBox("meta", 0, 0, Concat({HandlerBox(handler), Box("ilst", items)}));
}

Bytes Key(const std::string& name) {
    return Concat({BigEndian(4, 8 + name.size()), Text("mdta"), Text(name)});
}

struct KeysMeta {
    bool versioned = false;  // the ISO layout, with version and flags
    std::string handler = "mdta";
    uint32_t count = 2;
    Bytes keys = Concat({Key("com.apple.quicktime.make"), Key(KEY)});
    uint32_t item = 2;
    Bytes data = Data(TEXT);
};

Bytes Meta(const KeysMeta& m) {
    const Bytes hdlr = HandlerBox(m.handler);
    const Bytes keys = FullBox("keys", 0, 0, Concat({BigEndian(4, m.count), m.keys}));
    const Bytes item =
        Box(std::string(reinterpret_cast<const char*>(BigEndian(4, m.item).data()), 4), m.data);
    return Box("meta",
               Concat({m.versioned ? BigEndian(4, 0) : Bytes{}, hdlr, keys, Box("ilst", item)}));
}

// A movie box with a track and the records.
Bytes Moov(const Bytes& udta, const Bytes& meta = {}) {
    return Box("moov",
               Concat({FullBox("mvhd", 0, 0, Bytes(96, 0)), Box("trak", Box("tkhd", Bytes(84, 0))),
                       udta.empty() ? Bytes{} : Box("udta", udta), meta}));
}

// ftyp, then the media data before or behind moov.
Bytes Movie(const Bytes& udta, const Bytes& meta = {}, bool mdatFirst = true) {
    const Bytes mdat = Box("mdat", Bytes(64, 0x5A));
    const Bytes moov = Moov(udta, meta);
    return Concat(
        {Box("ftyp", Text("qt  \0\0\0\0qt  ")), mdatFirst ? mdat : moov, mdatFirst ? moov : mdat});
}

struct Reading {
    Status status;
    GpsPosition position;
};

Reading Read(const Bytes& file, uint64_t farOffset = 0, const Bytes& far = {}) {
    CQuorielReader reader;
    Reading reading{};
    reading.status = ReadGpsPosition(reader, OpenMemoryFile(file, farOffset, far), FileKind::VIDEO,
                                     &reading.position);
    return reading;
}

TEST(VideoLocator, RecordsLayoutsAndOutcomes) {
    KeysMeta iso;
    iso.versioned = true;
    KeysMeta photoHandler;
    photoHandler.handler = "pict";
    KeysMeta noSuchKey;
    noSuchKey.item = 3;
    KeysMeta shortKey;
    shortKey.keys = Concat({BigEndian(4, 4), Text("mdta")});
    KeysMeta shortData;
    shortData.data = Box("data", BigEndian(4, 1));
    KeysMeta damagedData;
    damagedData.data = BoxHeader("data", 200);
    const Bytes damagedMeta = Box("meta", BoxHeader("hdlr", 200));
    const Bytes xyzBeforeDamage =
        Concat({Box("ftyp", Text("isom")),
                Box("moov", Concat({Box("udta", Xyz(TEXT)), BoxHeader("trak", 400)}))});
    const Bytes far = Loci(90 * 65536 + 1, 0);
    const Bytes wide = Concat({{0xFE, 0xFF}, Text("\0T\0o\0k\0y\0o"), {0, 0}});
    const Bytes padding = BigEndian(4, 0);
    const struct {
        const char* what;
        Bytes file;
        Status status;
        uint64_t latitude = 0;
        bool north = false;
        uint64_t longitude = 0;
        bool east = false;
    } cases[] = {
        {"xyz, mdat first", Movie(Xyz(TEXT)), RESULT_DONE, LATITUDE, true, LONGITUDE, true},
        {"keys, moov first", Movie({}, Meta({}), false), RESULT_DONE, LATITUDE, true, LONGITUDE,
         true},
        {"keys in the ISO layout", Movie({}, Meta(iso)), RESULT_DONE, LATITUDE, true, LONGITUDE,
         true},
        {"loci", Movie(Loci(FIXED_LATITUDE, FIXED_LONGITUDE)), RESULT_DONE, FIXED_LATITUDE_MAS,
         false, FIXED_LONGITUDE_MAS, true},
        {"xyz with as few integer digits as needed", Movie(Xyz("+35.6586-0.2431/")), RESULT_DONE,
         LATITUDE, true, 875160000u, false},
        {"item list", Movie(ItemList(Data(TEXT))), RESULT_DONE, LATITUDE, true, LONGITUDE, true},
        {"loci before the item list", Movie(Concat({ItemList(Data(TEXT)), Loci(0, 0)})),
         RESULT_DONE, 0, true, 0, true},
        {"item list when the other records hold none",
         Movie(Concat({Xyz("+3539.52+13944.72/"), far, ItemList(Data("-35.6586-139.7454/"))}),
               Meta(noSuchKey)),
         RESULT_DONE, LATITUDE, false, LONGITUDE, false},
        {"loci with a UTF-16 name", Movie(Loci(FIXED_LATITUDE, FIXED_LONGITUDE, wide)), RESULT_DONE,
         FIXED_LATITUDE_MAS, false, FIXED_LONGITUDE_MAS, true},
        {"xyz before keys and loci",
         Movie(Concat({Loci(0, 0), Xyz("-35.6586-139.7454/")}), Meta({})), RESULT_DONE, LATITUDE,
         false, LONGITUDE, false},
        {"keys when xyz is no location",
         Movie(Concat({Xyz("+3539.52+13944.72/"), Loci(0, 0)}), Meta({})), RESULT_DONE, LATITUDE,
         true, LONGITUDE, true},
        {"loci when keys is another handler's", Movie(Loci(0, 0), Meta(photoHandler)), RESULT_DONE,
         0, true, 0, true},
        {"user data ended by a 32-bit zero", Movie(Concat({Xyz(TEXT), padding})), RESULT_DONE,
         LATITUDE, true, LONGITUDE, true},
        {"loci behind a damaged meta", Movie(Loci(0, 0), damagedMeta), RESULT_DONE, 0, true, 0,
         true},
        {"xyz before a damaged track", xyzBeforeDamage, RESULT_DONE, LATITUDE, true, LONGITUDE,
         true},
        {"no record", Movie(Box("\xA9swr", Text("Lavf"))), RESULT_NO_POSITION},
        {"latitude past 90 degrees", Movie(Xyz("+90.000001+000.0000/")), RESULT_NO_POSITION},
        {"loci latitude past 90 degrees", Movie(far), RESULT_NO_POSITION},
        {"xyz length past its box", Movie(Box("\xA9xyz", Concat({BigEndian(2, 40), Text(TEXT)}))),
         RESULT_NO_POSITION},
        {"loci name without a NUL", Movie(FullBox("loci", 0, 0, Bytes(40, 'a'))),
         RESULT_NO_POSITION},
        {"keys item pointing at no key", Movie({}, Meta(noSuchKey)), RESULT_NO_POSITION},
        {"key shorter than its header", Movie({}, Meta(shortKey)), RESULT_NO_POSITION},
        {"data shorter than its header", Movie({}, Meta(shortData)), RESULT_NO_POSITION},
        {"item list of another handler", Movie(ItemList(Data(TEXT), "mdta")), RESULT_NO_POSITION},
        {"item list without a location item",
         Movie(ItemList(Data(TEXT), "mdir",
                        "\xA9"
                        "day")),
         RESULT_NO_POSITION},
        {"item list data shorter than its header", Movie(ItemList(Box("data", BigEndian(4, 1)))),
         RESULT_NO_POSITION},
        {"text not ended inside what is read",
         Movie(Xyz("+35.6586" + std::string(200, '0') + "+139.7454/")), RESULT_NO_POSITION},
        {"a damaged meta and no other record", Movie({}, damagedMeta), RESULT_NO_EXIF},
        {"a data header past its item", Movie({}, Meta(damagedData)), RESULT_NO_EXIF},
        {"an item list data header past its item", Movie(ItemList(BoxHeader("data", 200))),
         RESULT_NO_EXIF},
        {"no movie box", Concat({Box("ftyp", Text("isom")), Box("mdat", {})}), RESULT_NO_EXIF},
        {"a track past its parent",
         Concat({Box("ftyp", Text("isom")), BoxHeader("moov", 16), BoxHeader("trak", 40)}),
         RESULT_NO_EXIF},
        {"user data header cut", Movie(BoxHeader("\xA9xyz", 4)), RESULT_NO_EXIF},
        {"not a box at all", Text("\xFF\xD8\xFF\xE0 JFIF"), RESULT_NO_EXIF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Reading reading = Read(c.file);
        ASSERT_EQ(reading.status, c.status);
        if (c.status == RESULT_DONE) {
            EXPECT_EQ(reading.position.latitude, c.latitude);
            EXPECT_EQ(reading.position.north, c.north);
            EXPECT_EQ(reading.position.longitude, c.longitude);
            EXPECT_EQ(reading.position.east, c.east);
        }
    }
}

// A media box of 5 GiB with a 64-bit size, before or behind moov: the location is found in a
// few calls, none reaching into the media data further than one block past its header, the
// moov behind it standing far beyond what a 32-bit seek reaches.
TEST(VideoLocator, PassesOverMediaDataPast4GiB) {
    constexpr uint64_t MEDIA = uint64_t{5} << 30;
    constexpr size_t CALL_LIMIT = 4;
    const Bytes ftyp = Box("ftyp", Text("isom"));
    const Bytes moov = Moov(Xyz(TEXT));
    const Bytes mdat = LargeBoxHeader("mdat", MEDIA);
    const struct {
        const char* what;
        Bytes head;  // from offset 0, ending with the media box's header
        Bytes far;   // behind the media data
    } cases[] = {
        {"mdat first", Concat({ftyp, mdat}), moov},
        {"moov first", Concat({ftyp, moov, mdat}), Box("free", {})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const uint64_t media = c.head.size();
        const uint64_t mediaEnd = media - mdat.size() + MEDIA;
        const Reading reading = Read(c.head, mediaEnd, c.far);
        ASSERT_EQ(reading.status, RESULT_DONE);
        EXPECT_EQ(reading.position.latitude, LATITUDE);
        for (const ReadRecord& read : MemoryFile().reads) {
            EXPECT_TRUE(read.offset >= mediaEnd ||
                        read.offset + read.size <= media + READ_AHEAD_BLOCK)
                << read.size << " bytes read at " << read.offset;
        }
        EXPECT_LE(MemoryFile().Calls(), CALL_LIMIT);
    }
}

}  // namespace
