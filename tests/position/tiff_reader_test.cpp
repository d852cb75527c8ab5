// TIFF files through the position command: every case in both byte orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "position/kind_table.h"
#include "tests/position/command_harness.h"

namespace {

// 35°39'31.2" N, 139°44'43.5" E.
const Triple LATITUDE_A = Dms(35, 39, 3120);
const Triple LONGITUDE_A = Dms(139, 44, 4350);
const GpsPosition POSITION_A =
    PositionOf(true, MicroArcseconds(35, 39, 3120), true, MicroArcseconds(139, 44, 4350));

// Indexes of PositionLayout's GPS entries.
constexpr size_t GPS_LATITUDE_REF = 1;
constexpr size_t GPS_LATITUDE = 2;
constexpr size_t GPS_LONGITUDE = 4;

TiffLayout LayoutA(ByteOrder order) {
    return PositionLayout(order, 'N', LATITUDE_A, 'E', LONGITUDE_A);
}

GpsPosition WithLatitude(uint64_t latitude) {
    GpsPosition position = POSITION_A;
    position.latitude = latitude;
    return position;
}

Bytes WithLatitudeTriple(ByteOrder order, const Triple& triple) {
    TiffLayout layout = LayoutA(order);
    layout.gps[GPS_LATITUDE] = Angle(TAG_LATITUDE, triple);
    return BuildTiff(layout);
}

// The layout with one GPS entry changed.
Bytes WithGpsEntry(ByteOrder order, size_t index, const Entry& entry) {
    TiffLayout layout = LayoutA(order);
    layout.gps[index] = entry;
    return BuildTiff(layout);
}

Bytes WithoutGpsEntry(ByteOrder order, size_t index) {
    TiffLayout layout = LayoutA(order);
    layout.gps.erase(layout.gps.begin() + index);
    return BuildTiff(layout);
}

// The layout built, then one 16- or 32-bit field overwritten.
Bytes Patched16(ByteOrder order, const std::function<size_t(const TiffLayout&)>& at,
                uint16_t value) {
    const TiffLayout layout = LayoutA(order);
    Bytes bytes = BuildTiff(layout);
    Put16(bytes, at(layout), value, order);
    return bytes;
}

Bytes Patched32(ByteOrder order, const std::function<size_t(const TiffLayout&)>& at,
                const std::function<uint32_t(const Bytes&, const TiffLayout&)>& value) {
    const TiffLayout layout = LayoutA(order);
    Bytes bytes = BuildTiff(layout);
    Put32(bytes, at(layout), value(bytes, layout), order);
    return bytes;
}

size_t TripleOffsetField(const TiffLayout& layout, size_t index) {
    return GpsEntryOffset(layout, index) + 8;
}

Entry RawEntry(uint16_t tag, uint16_t type, uint32_t count, Bytes raw) {
    Entry entry{tag, type, count};
    entry.raw = std::move(raw);
    return entry;
}

struct TiffCase {
    const char* what;
    std::function<Bytes(ByteOrder)> build;
    Expected expected;
};

void RunCases(const std::vector<TiffCase>& cases) {
    CommandHarness harness;
    for (const TiffCase& c : cases) {
        for (ByteOrder order : {ByteOrder::INTEL, ByteOrder::MOTOROLA}) {
            SCOPED_TRACE(std::string(c.what) + (order == ByteOrder::INTEL ? " (II)" : " (MM)"));
            ExpectOutcome(harness.RunBytes(c.build(order), FileKind::TIFF), c.expected,
                          harness.Owner());
        }
    }
}

TEST(TiffReader, CompletePositionsAreLaunched) {
    const GpsPosition southWest =
        PositionOf(false, MicroArcseconds(22, 54, 3000), false, MicroArcseconds(43, 10, 2160));
    const Triple largest{Rational{UINT32_MAX, 1}, Rational{UINT32_MAX, 1}, Rational{UINT32_MAX, 1}};
    RunCases({
        {"north and east", [](ByteOrder o) { return BuildTiff(LayoutA(o)); }, Launch(POSITION_A)},
        {"south and west",
         [](ByteOrder o) {
             return BuildTiff(PositionLayout(o, 'S', Dms(22, 54, 3000), 'W', Dms(43, 10, 2160)));
         },
         Launch(southWest)},
        {"seconds as a fraction",
         [](ByteOrder o) { return WithLatitudeTriple(o, Dms(35, 39, 2936)); },
         Launch(WithLatitude(128369360000u))},
        {"degrees as a fraction",
         [](ByteOrder o) {
             return WithLatitudeTriple(o, Triple{Rational{355, 10}, {0, 1}, {0, 1}});
         },
         Launch(WithLatitude(127800000000u))},
        {"minutes as a fraction",
         [](ByteOrder o) {
             return WithLatitudeTriple(o, Triple{Rational{0, 1}, {4530, 100}, {0, 1}});
         },
         Launch(WithLatitude(2718000000u))},
        {"thirds truncated one by one",
         [](ByteOrder o) {
             return WithLatitudeTriple(o, Triple{Rational{1, 3}, {1, 3}, {1, 3}});
         },
         Launch(WithLatitude(1220333333u))},
        {"largest parts do not overflow",
         [=](ByteOrder o) { return WithLatitudeTriple(o, largest); },
         Launch(WithLatitude(uint64_t{UINT32_MAX} * 3661000000u))},
        {"second latitude decides",
         [](ByteOrder o) {
             TiffLayout layout = LayoutA(o);
             layout.gps.push_back(Angle(TAG_LATITUDE, Dms(1, 2, 300)));
             return BuildTiff(layout);
         },
         Launch(WithLatitude(MicroArcseconds(1, 2, 300)))},
        {"other GPS tags passed over whatever they hold",
         [](ByteOrder o) {
             TiffLayout layout = LayoutA(o);
             layout.gps.insert(layout.gps.begin() + 2, Entry{TAG_ALTITUDE, TYPE_SRATIONAL, 99, 7});
             layout.gps.push_back(Entry{TAG_ALTITUDE_REF, 0, 0, 0xFFFFFFFF});
             layout.gps.push_back(Entry{TAG_GPS_VERSION, TYPE_RATIONAL, 3, 0});
             return BuildTiff(layout);
         },
         Launch(POSITION_A)},
        {"GPS pointer behind several IFD0 entries",
         [](ByteOrder o) {
             TiffLayout layout = LayoutA(o);
             layout.ifd0.insert(layout.ifd0.begin(), {Entry{0x0101, TYPE_SHORT, 1, 480},
                                                      Entry{0x010F, TYPE_ASCII, 40, 0xFFFF}});
             return BuildTiff(layout);
         },
         Launch(POSITION_A)},
        {"entries after the first GPS pointer are never read",
         [](ByteOrder o) {
             TiffLayout layout = LayoutA(o);
             layout.ifd0.push_back(Entry{TAG_GPS_POINTER, TYPE_LONG, 1, 3});
             Bytes bytes = BuildTiff(layout);
             Put16(bytes, TIFF_HEADER_SIZE, 5000, o);  // far more entries than the data holds
             return bytes;
         },
         Launch(POSITION_A)},
        {"triple ending exactly at the end of the data",
         [](ByteOrder o) {
             const TiffLayout layout = LayoutA(o);
             Bytes bytes = BuildTiff(layout);
             Put32(bytes, TripleOffsetField(layout, GPS_LONGITUDE),
                   static_cast<uint32_t>(bytes.size() - TRIPLE_SIZE), o);
             return bytes;
         },
         Launch(POSITION_A)},
    });
}

TEST(TiffReader, MalformedDataHasNoExif) {
    RunCases({
        {"7 bytes",
         [](ByteOrder o) {
             Bytes bytes = BuildTiff(LayoutA(o));
             bytes.resize(7);
             return bytes;
         },
         NO_EXIF},
        {"magic 43",
         [](ByteOrder o) {
             return Patched16(
                 o, [](auto&) { return 2; }, 43);
         },
         NO_EXIF},
        {"mixed byte-order mark",
         [](ByteOrder o) {
             Bytes bytes = BuildTiff(LayoutA(o));
             bytes[1] = bytes[0] == 'I' ? 'M' : 'I';
             return bytes;
         },
         NO_EXIF},
        {"IFD0 offset 7",
         [](ByteOrder o) {
             return Patched32(
                 o, [](auto&) { return 4; }, [](auto&, auto&) { return 7u; });
         },
         NO_EXIF},
        {"IFD0 offset + 4 beyond the data",
         [](ByteOrder o) {
             return Patched32(
                 o, [](auto&) { return 4; },
                 [](const Bytes& b, auto&) { return static_cast<uint32_t>(b.size() - 3); });
         },
         NO_EXIF},
        {"IFD0 offset that would wrap",
         [](ByteOrder o) {
             return Patched32(
                 o, [](auto&) { return 4; }, [](auto&, auto&) { return 0xFFFFFFFEu; });
         },
         NO_EXIF},
        {"GPS offset 7",
         [](ByteOrder o) {
             return Patched32(
                 o, [](auto&) { return TIFF_HEADER_SIZE + 2 + ENTRY_SIZE + 8; },
                 [](auto&, auto&) { return 7u; });
         },
         NO_EXIF},
        {"GPS directory declares more entries than the data holds",
         [](ByteOrder o) {
             return Patched16(
                 o, [](const TiffLayout& l) { return GpsDirectoryOffset(l); }, 200);
         },
         NO_EXIF},
        {"triple offset 7",
         [](ByteOrder o) {
             return Patched32(
                 o, [](const TiffLayout& l) { return TripleOffsetField(l, GPS_LATITUDE); },
                 [](auto&, auto&) { return 7u; });
         },
         NO_EXIF},
        {"triple one byte past the end of the data",
         [](ByteOrder o) {
             return Patched32(
                 o, [](const TiffLayout& l) { return TripleOffsetField(l, GPS_LONGITUDE); },
                 [](const Bytes& b, auto&) {
                     return static_cast<uint32_t>(b.size() - TRIPLE_SIZE + 1);
                 });
         },
         NO_EXIF},
        {"latitude reference of count 1",
         [](ByteOrder o) {
             return WithGpsEntry(o, GPS_LATITUDE_REF, RawEntry(1, TYPE_ASCII, 1, {'N', 0, 0, 0}));
         },
         NO_EXIF},
        {"latitude reference of count 3",
         [](ByteOrder o) {
             return WithGpsEntry(o, GPS_LATITUDE_REF, RawEntry(1, TYPE_ASCII, 3, {'N', 0, 0, 0}));
         },
         NO_EXIF},
        {"latitude reference of type BYTE",
         [](ByteOrder o) {
             return WithGpsEntry(o, GPS_LATITUDE_REF, RawEntry(1, TYPE_BYTE, 2, {'N', 0, 0, 0}));
         },
         NO_EXIF},
        {"lowercase n",
         [](ByteOrder o) { return WithGpsEntry(o, GPS_LATITUDE_REF, Reference(1, 'n')); }, NO_EXIF},
        {"longitude reference of N",
         [](ByteOrder o) { return WithGpsEntry(o, 3, Reference(3, 'N')); }, NO_EXIF},
        {"second byte not NUL",
         [](ByteOrder o) {
             return WithGpsEntry(o, GPS_LATITUDE_REF, RawEntry(1, TYPE_ASCII, 2, {'N', 'x', 0, 0}));
         },
         NO_EXIF},
        {"bad reference before a good one",
         [](ByteOrder o) {
             TiffLayout layout = LayoutA(o);
             layout.gps.insert(layout.gps.begin(), Reference(TAG_LATITUDE_REF, 'X'));
             return BuildTiff(layout);
         },
         NO_EXIF},
        {"latitude of type SRATIONAL",
         [](ByteOrder o) {
             Entry entry = Angle(TAG_LATITUDE, LATITUDE_A);
             entry.type = TYPE_SRATIONAL;
             return WithGpsEntry(o, GPS_LATITUDE, entry);
         },
         NO_EXIF},
        {"latitude of count 2",
         [](ByteOrder o) {
             Entry entry = Angle(TAG_LATITUDE, LATITUDE_A);
             entry.count = 2;
             return WithGpsEntry(o, GPS_LATITUDE, entry);
         },
         NO_EXIF},
        {"degrees denominator 0",
         [](ByteOrder o) {
             return WithLatitudeTriple(o, Triple{Rational{35, 0}, {39, 1}, {0, 1}});
         },
         NO_EXIF},
        {"minutes denominator 0",
         [](ByteOrder o) {
             return WithLatitudeTriple(o, Triple{Rational{35, 1}, {39, 0}, {0, 1}});
         },
         NO_EXIF},
        {"seconds written as 0/0",
         [](ByteOrder o) {
             return WithLatitudeTriple(o, Triple{Rational{35, 1}, {39, 1}, {0, 0}});
         },
         NO_EXIF},
    });
}

TEST(TiffReader, MissingPositionDataIsReported) {
    RunCases({
        {"no GPS pointer",
         [](ByteOrder o) {
             TiffLayout layout = LayoutA(o);
             layout.ifd0.pop_back();
             return BuildTiff(layout);
         },
         NO_POSITION},
        {"IFD0 with 0 entries",
         [](ByteOrder o) {
             return Patched16(
                 o, [](auto&) { return TIFF_HEADER_SIZE; }, 0);
         },
         NO_POSITION},
        {"GPS directory with 0 entries",
         [](ByteOrder o) {
             return Patched16(
                 o, [](const TiffLayout& l) { return GpsDirectoryOffset(l); }, 0);
         },
         NO_POSITION},
        {"no latitude reference", [](ByteOrder o) { return WithoutGpsEntry(o, 1); }, NO_POSITION},
        {"no latitude", [](ByteOrder o) { return WithoutGpsEntry(o, 2); }, NO_POSITION},
        {"no longitude reference", [](ByteOrder o) { return WithoutGpsEntry(o, 3); }, NO_POSITION},
        {"no longitude", [](ByteOrder o) { return WithoutGpsEntry(o, 4); }, NO_POSITION},
    });
}

// The raws' own header magic numbers count only for their kinds, and 42 only for TIFF and the
// raws that are TIFF files: every header read as each kind.
TEST(TiffReader, RawMagicNumbersOnlyForTheirKinds) {
    struct Header {
        const char* bytes;  // the byte-order mark and the magic number
        ByteOrder order;
        FileKind reads;  // the one kind that reads it
    };
    const Header headers[] = {
        {"II*\0", ByteOrder::INTEL, FileKind::TIFF}, {"MM\0*", ByteOrder::MOTOROLA, FileKind::TIFF},
        {"IIRO", ByteOrder::INTEL, FileKind::ORF},   {"MMOR", ByteOrder::MOTOROLA, FileKind::ORF},
        {"IIRS", ByteOrder::INTEL, FileKind::ORF},   {"IIU\0", ByteOrder::INTEL, FileKind::RW2},
    };
    CommandHarness harness;
    for (const Header& header : headers) {
        Bytes bytes = BuildTiff(LayoutA(header.order));
        std::copy(header.bytes, header.bytes + 4, bytes.begin());
        for (FileKind kind : {FileKind::TIFF, FileKind::TIFF_RAW, FileKind::ORF, FileKind::RW2}) {
            SCOPED_TRACE(std::string(header.bytes, 4) + " read as " + KindName(kind));
            const bool reads = kind == header.reads ||
                               (kind == FileKind::TIFF_RAW && header.reads == FileKind::TIFF);
            ExpectOutcome(harness.RunBytes(bytes, kind), reads ? Launch(POSITION_A) : NO_EXIF,
                          harness.Owner());
        }
    }
}

}  // namespace
