// The CR3 locator over built files: the GPS block found where Canon's uuid box keeps it, and the
// outcomes of boxes that are missing, cut short or of another kind.
#include <gtest/gtest.h>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/box_builder.h"

namespace {

const Bytes CANON_USER_TYPE{0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                            0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
const Bytes OTHER_USER_TYPE(16, 0x42);
constexpr uint64_t LATITUDE = 35 * 3600000000ull + 39 * 60000000ull + 29360000ull;

TiffLayout Layout(ByteOrder order) {
    return PositionLayout(order, 'N', Dms(35, 39, 2936), 'W', Dms(139, 44, 4950));
}

// The GPS directory as the first directory of its own TIFF data, as CMT4 holds it.
Bytes GpsFirst(ByteOrder order) {
    const TiffLayout layout = Layout(order);
    return BuildTiff(TiffLayout{order, layout.gps, {}});
}

Bytes UuidBox(const Bytes& userType, const Bytes& children) {
    return Box("uuid", Concat({userType, children}));
}

// ftyp, moov with Canon's box of the given children (behind CNCV), then a small mdat.
Bytes Cr3(const Bytes& canonChildren, const Bytes& moovFront = {}) {
    const Bytes canon =
        UuidBox(CANON_USER_TYPE, Concat({Box("CNCV", Bytes(30, 'C')), canonChildren}));
    return Concat({Ftyp("crx "), Box("moov", Concat({moovFront, canon})), Box("mdat", Bytes(8))});
}

Bytes Cmt(int n, const Bytes& tiff) {
    return Box("CMT" + std::to_string(n), tiff);
}

Status Read(const Bytes& file, GpsPosition* position, FileAccess access = FileAccess::DIRECT) {
    CQuorielReader reader;
    FileSource source(OpenMemoryFile(file), access);
    return ReadGpsPosition(reader, source, FileKind::CR3, position);
}

TEST(CanonLocator, ReadsTheGpsDirectoryOfCmt4InEitherByteOrder) {
    for (const ByteOrder order : {ByteOrder::INTEL, ByteOrder::MOTOROLA}) {
        const Bytes ifd0 = BuildTiff(Layout(order));
        for (const Bytes& file :
             {Cr3(Concat({Cmt(1, ifd0), Cmt(4, GpsFirst(order))})),
              Cr3(Cmt(4, GpsFirst(order)), UuidBox(OTHER_USER_TYPE, Cmt(4, ifd0))),
              Cr3(Concat({Cmt(1, ifd0), Cmt(2, ifd0), Cmt(3, ifd0), Cmt(4, GpsFirst(order)),
                          Box("THMB", Bytes(64))}))}) {
            GpsPosition position{};
            ASSERT_EQ(Read(file, &position), RESULT_DONE);
            EXPECT_EQ(position.latitude, LATITUDE);
            EXPECT_TRUE(position.north);
            EXPECT_FALSE(position.east);
            // The box tree and the block lie in the first read-ahead block.
            GpsPosition ahead{};
            EXPECT_EQ(Read(file, &ahead, FileAccess::READ_AHEAD), RESULT_DONE);
            EXPECT_EQ(MemoryFile().reads.size(), 1u);
        }
    }
}

TEST(CanonLocator, DamagedOrMissingBoxesGiveTheReadingsOutcomes) {
    const Bytes gps = GpsFirst(ByteOrder::INTEL);
    const Bytes ifd0 = BuildTiff(Layout(ByteOrder::INTEL));
    Bytes otherMagic = gps;
    otherMagic[2] = 'R';
    otherMagic[3] = 'O';
    const Bytes versionOnly =
        BuildTiff(TiffLayout{ByteOrder::INTEL, {Layout(ByteOrder::INTEL).gps[0]}, {}});
    const Bytes moov = Box("moov", UuidBox(CANON_USER_TYPE, Cmt(4, gps)));
    const struct {
        const char* name;
        Bytes file;
        Status status;
    } cases[] = {
        {"no ftyp in front", Concat({moov, Ftyp("crx ")}), RESULT_NO_EXIF},
        {"no moov", Concat({Ftyp("crx "), Box("mdat", Cmt(4, gps))}), RESULT_NO_EXIF},
        {"only a uuid box of another user type",
         Concat({Ftyp("crx "), Box("moov", UuidBox(OTHER_USER_TYPE, Cmt(4, gps)))}),
         RESULT_NO_EXIF},
        {"uuid box too short for its user type",
         Concat({Ftyp("crx "), Box("moov", Box("uuid", Bytes(CANON_USER_TYPE.begin(),
                                                             CANON_USER_TYPE.begin() + 10)))}),
         RESULT_NO_EXIF},
        {"Canon's box without the CMT boxes", Cr3({}), RESULT_NO_EXIF},
        {"CMT1 without CMT4", Cr3(Cmt(1, ifd0)), RESULT_NO_POSITION},
        {"CMT4 empty", Cr3(Box("CMT4", {})), RESULT_NO_EXIF},
        {"CMT4 with only the GPS version", Cr3(Cmt(4, versionOnly)), RESULT_NO_POSITION},
        {"CMT4 holding IFD0 and its GPS pointer", Cr3(Cmt(4, ifd0)), RESULT_NO_POSITION},
        {"CMT4 with another kind's magic", Cr3(Cmt(4, otherMagic)), RESULT_NO_EXIF},
        {"CMT4 cut by its size", Cr3(Cmt(4, Bytes(gps.begin(), gps.end() - 4))), RESULT_NO_EXIF},
        {"CMT4's size past Canon's box",
         Cr3(Concat({BoxHeader("CMT4", static_cast<uint32_t>(gps.size() + 64)), gps})),
         RESULT_NO_EXIF},
        {"moov's size past the end of the file",
         Concat({Ftyp("crx "), BoxHeader("moov", 1 << 20), UuidBox(CANON_USER_TYPE, gps)}),
         RESULT_NO_EXIF},
        {"a TIFF file", ifd0, RESULT_NO_EXIF},
        {"empty file", {}, RESULT_NO_EXIF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GpsPosition position{};
        EXPECT_EQ(Read(c.file, &position), c.status);
    }
}

}  // namespace
