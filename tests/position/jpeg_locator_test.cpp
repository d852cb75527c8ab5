// JPEG files through the position command: the walk to the first APP1 segment and the TIFF data
// window it hands on.
#include <gtest/gtest.h>

#include "tests/position/command_harness.h"

namespace {

const GpsPosition POSITION_A =
    PositionOf(true, MicroArcseconds(35, 39, 3120), true, MicroArcseconds(139, 44, 4350));

Bytes TiffA(ByteOrder order = ByteOrder::INTEL) {
    return BuildTiff(PositionLayout(order, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
}

// An APP1 segment whose length field says length, followed by what it would hold.
Bytes App1WithLength(uint16_t length, const Bytes& payload) {
    return Concat({SegmentHeader(MARKER_APP1, length), payload});
}

Bytes ExifPayload(const Bytes& tiff) {
    return Concat({Bytes{'E', 'x', 'i', 'f', 0, 0}, tiff});
}

struct JpegCase {
    const char* what;
    Bytes bytes;
    Expected expected;
    FileKind kind = FileKind::JPEG;
};

void RunCases(const std::vector<JpegCase>& cases) {
    CommandHarness harness;
    for (const JpegCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectOutcome(harness.RunBytes(c.bytes, c.kind), c.expected, harness.Owner());
    }
}

TEST(JpegLocator, ExifSegmentsAreFound) {
    const Bytes tiff = TiffA();
    RunCases({
        {"Exif first", Jpeg({ExifApp1(tiff), ScanAndEnd()}), Launch(POSITION_A)},
        {"APP0 skipped", Jpeg({JfifApp0(), ExifApp1(tiff), ScanAndEnd()}), Launch(POSITION_A)},
        {"several segments skipped",
         Jpeg({Segment(MARKER_DQT, Bytes(65, 1)), JfifApp0(), Segment(MARKER_APP2, Bytes(3000, 7)),
               Segment(0xFE, {}), ExifApp1(tiff), ScanAndEnd()}),
         Launch(POSITION_A)},
        {"Motorola TIFF data", Jpeg({JfifApp0(), ExifApp1(TiffA(ByteOrder::MOTOROLA))}),
         Launch(POSITION_A)},
        {"segment ends exactly at the end of the file", Jpeg({ExifApp1(tiff)}), Launch(POSITION_A)},
    });
}

TEST(JpegLocator, FilesWithoutUsableExifSegment) {
    const Bytes tiff = TiffA();
    const Bytes payload = ExifPayload(tiff);
    std::vector<JpegCase> cases = {
        {"empty file", {}, NO_EXIF},
        {"1 byte", {0xFF}, NO_EXIF},
        {"PNG signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, NO_EXIF},
        {"SOS before any APP1", Jpeg({ScanAndEnd(), ExifApp1(tiff)}), NO_EXIF},
        {"ends after APP0", Jpeg({JfifApp0()}), NO_EXIF},
        {"ends inside a segment header", Jpeg({JfifApp0(), Bytes{0xFF, 0xE1, 0x00}}), NO_EXIF},
        {"XMP before Exif decides", Jpeg({XmpApp1(), ExifApp1(tiff), ScanAndEnd()}), NO_EXIF},
        {"APP1 length 8 leaves no TIFF data", Jpeg({App1WithLength(8, payload), ScanAndEnd()}),
         NO_EXIF},
        {"APP1 running past the end of the file",
         Jpeg({App1WithLength(static_cast<uint16_t>(payload.size() + 2 + 10), payload)}), NO_EXIF},
        {"Exif followed by 0, 1",
         Jpeg({Segment(MARKER_APP1, Concat({Bytes{'E', 'x', 'i', 'f', 0, 1}, tiff}))}), NO_EXIF},
        {"Exif identifier misspelt",
         Jpeg({Segment(MARKER_APP1, Concat({Bytes{'E', 'x', 'i', 'F', 0, 0}, tiff}))}), NO_EXIF},
        // The window ends with the segment even where the file goes on with the right bytes.
        {"TIFF data window ends with the segment",
         Jpeg({App1WithLength(static_cast<uint16_t>(payload.size() + 2 - 1), payload),
               ScanAndEnd()}),
         NO_EXIF},
        {"segment length 0 before APP1", Jpeg({SegmentHeader(MARKER_APP0, 0), ExifApp1(tiff)}),
         NO_EXIF},
        {"segment length 1 before APP1", Jpeg({SegmentHeader(MARKER_APP0, 1), ExifApp1(tiff)}),
         NO_EXIF},
        {"TIFF data in a file taken for JPEG", tiff, NO_EXIF},
        {"JPEG data in a file taken for TIFF", Jpeg({ExifApp1(tiff)}), NO_EXIF, FileKind::TIFF},
    };
    for (uint16_t length = 0; length < 8; ++length) {
        cases.push_back({"APP1 shorter than its identifier",
                         Jpeg({App1WithLength(length, payload), ScanAndEnd()}), NO_EXIF});
    }
    RunCases(cases);
}

TEST(JpegLocator, EmptySegmentIsSkipped) {
    RunCases({{"APP0 of length 2", Jpeg({Segment(MARKER_APP0, {}), ExifApp1(TiffA())}),
               Launch(POSITION_A)}});
}

}  // namespace
