#pragma once
// Builds TIFF data and JPEG files byte by byte, so that each test case reads as the structure
// it holds. Layout of BuildTiff: header (8) | IFD0 | GPS directory | RATIONAL triples, in
// that order, the last triple ending the data.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

using Bytes = std::vector<uint8_t>;

enum class ByteOrder { INTEL, MOTOROLA };

constexpr uint16_t TAG_GPS_POINTER = 0x8825;
constexpr uint16_t TAG_GPS_VERSION = 0;
constexpr uint16_t TAG_LATITUDE_REF = 1;
constexpr uint16_t TAG_LATITUDE = 2;
constexpr uint16_t TAG_LONGITUDE_REF = 3;
constexpr uint16_t TAG_LONGITUDE = 4;
constexpr uint16_t TAG_ALTITUDE_REF = 5;
constexpr uint16_t TAG_ALTITUDE = 6;
constexpr uint16_t TAG_IMAGE_WIDTH = 0x0100;
constexpr uint16_t TYPE_BYTE = 1;
constexpr uint16_t TYPE_ASCII = 2;
constexpr uint16_t TYPE_SHORT = 3;
constexpr uint16_t TYPE_LONG = 4;
constexpr uint16_t TYPE_RATIONAL = 5;
constexpr uint16_t TYPE_SRATIONAL = 10;

constexpr size_t TIFF_HEADER_SIZE = 8;
constexpr size_t ENTRY_SIZE = 12;
constexpr size_t TRIPLE_SIZE = 24;

struct Rational {
    uint32_t numerator;
    uint32_t denominator;
};
using Triple = std::array<Rational, 3>;

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value = 0;            // the 4 value bytes as a number in the data's byte order
    std::optional<Triple> triple;  // placed behind the directories; value becomes its offset
    std::optional<Bytes> raw;      // the 4 value bytes as they stand
    bool pointsToGps = false;      // value becomes the GPS directory's offset
};

Entry GpsPointer();
Entry Reference(uint16_t tag, char letter);
Entry Angle(uint16_t tag, const Triple& triple);
// d°m's/100" as the usual whole-number RATIONALs.
Triple Dms(uint32_t degrees, uint32_t minutes, uint32_t centiseconds);

struct TiffLayout {
    ByteOrder order;
    std::vector<Entry> ifd0;
    std::vector<Entry> gps;
};

// IFD0 with an image width and the GPS pointer; the GPS directory with a version entry and the
// four position entries, latitude first.
TiffLayout PositionLayout(ByteOrder order, char latitudeRef, const Triple& latitude,
                          char longitudeRef, const Triple& longitude);

Bytes BuildTiff(const TiffLayout& layout);
size_t GpsDirectoryOffset(const TiffLayout& layout);
// Where entry index of the GPS directory starts.
size_t GpsEntryOffset(const TiffLayout& layout, size_t index);

void Put16(Bytes& bytes, size_t at, uint16_t value, ByteOrder order);
void Put32(Bytes& bytes, size_t at, uint32_t value, ByteOrder order);

// JPEG pieces. A segment is 0xFF, its marker code, the big-endian length, and the payload.
constexpr uint8_t MARKER_APP0 = 0xE0;
constexpr uint8_t MARKER_APP1 = 0xE1;
constexpr uint8_t MARKER_APP2 = 0xE2;
constexpr uint8_t MARKER_DQT = 0xDB;
constexpr uint8_t MARKER_SOS = 0xDA;

Bytes Segment(uint8_t marker, const Bytes& payload);
// A segment header with a length field of one's own choosing.
Bytes SegmentHeader(uint8_t marker, uint16_t length);
Bytes JfifApp0();
Bytes ExifApp1(const Bytes& tiff);
Bytes XmpApp1();
// SOS with a little scan data and EOI.
Bytes ScanAndEnd();
// SOI followed by the pieces.
Bytes Jpeg(const std::vector<Bytes>& pieces);
Bytes Concat(const std::vector<Bytes>& pieces);
