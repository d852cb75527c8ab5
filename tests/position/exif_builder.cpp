#include "tests/position/exif_builder.h"

#include <cstring>

namespace {

constexpr size_t COUNT_SIZE = 2;
constexpr size_t NEXT_LINK_SIZE = 4;
constexpr uint16_t TIFF_MAGIC = 42;

size_t DirectorySize(size_t entries) {
    return COUNT_SIZE + entries * ENTRY_SIZE + NEXT_LINK_SIZE;
}

size_t TriplesOffset(const TiffLayout& layout) {
    return GpsDirectoryOffset(layout) + DirectorySize(layout.gps.size());
}

// Writes a directory at offset; triples are placed from *nextTriple on.
void WriteDirectory(Bytes& bytes, size_t offset, const std::vector<Entry>& entries,
                    const TiffLayout& layout, size_t* nextTriple) {
    Put16(bytes, offset, static_cast<uint16_t>(entries.size()), layout.order);
    size_t at = offset + COUNT_SIZE;
    for (const Entry& entry : entries) {
        Put16(bytes, at, entry.tag, layout.order);
        Put16(bytes, at + 2, entry.type, layout.order);
        Put32(bytes, at + 4, entry.count, layout.order);
        uint32_t value = entry.value;
        if (entry.pointsToGps) {
            value = static_cast<uint32_t>(GpsDirectoryOffset(layout));
        }
        if (entry.triple) {
            value = static_cast<uint32_t>(*nextTriple);
            for (size_t i = 0; i < 3; ++i) {
                Put32(bytes, *nextTriple + i * 8, (*entry.triple)[i].numerator, layout.order);
                Put32(bytes, *nextTriple + i * 8 + 4, (*entry.triple)[i].denominator, layout.order);
            }
            *nextTriple += TRIPLE_SIZE;
        }
        if (entry.raw) {
            std::memcpy(bytes.data() + at + 8, entry.raw->data(), 4);
        } else {
            Put32(bytes, at + 8, value, layout.order);
        }
        at += ENTRY_SIZE;
    }
}

size_t TripleCount(const TiffLayout& layout) {
    size_t count = 0;
    for (const auto* directory : {&layout.ifd0, &layout.gps}) {
        for (const Entry& entry : *directory) {
            count += entry.triple ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

Entry GpsPointer() {
    Entry entry{TAG_GPS_POINTER, TYPE_LONG, 1};
    entry.pointsToGps = true;
    return entry;
}

Entry Reference(uint16_t tag, char letter) {
    Entry entry{tag, TYPE_ASCII, 2};
    entry.raw = Bytes{static_cast<uint8_t>(letter), 0, 0, 0};
    return entry;
}

Entry Angle(uint16_t tag, const Triple& triple) {
    Entry entry{tag, TYPE_RATIONAL, 3};
    entry.triple = triple;
    return entry;
}

Triple Dms(uint32_t degrees, uint32_t minutes, uint32_t centiseconds) {
    return Triple{Rational{degrees, 1}, Rational{minutes, 1}, Rational{centiseconds, 100}};
}

TiffLayout PositionLayout(ByteOrder order, char latitudeRef, const Triple& latitude,
                          char longitudeRef, const Triple& longitude) {
    Entry version{TAG_GPS_VERSION, TYPE_BYTE, 4};
    version.raw = Bytes{2, 3, 0, 0};
    return TiffLayout{
        order,
        {Entry{TAG_IMAGE_WIDTH, TYPE_LONG, 1, 640}, GpsPointer()},
        {version, Reference(TAG_LATITUDE_REF, latitudeRef), Angle(TAG_LATITUDE, latitude),
         Reference(TAG_LONGITUDE_REF, longitudeRef), Angle(TAG_LONGITUDE, longitude)}};
}

size_t GpsDirectoryOffset(const TiffLayout& layout) {
    return TIFF_HEADER_SIZE + DirectorySize(layout.ifd0.size());
}

size_t GpsEntryOffset(const TiffLayout& layout, size_t index) {
    return GpsDirectoryOffset(layout) + COUNT_SIZE + index * ENTRY_SIZE;
}

Bytes BuildTiff(const TiffLayout& layout) {
    Bytes bytes(TriplesOffset(layout) + TripleCount(layout) * TRIPLE_SIZE);
    const uint8_t mark = layout.order == ByteOrder::INTEL ? 'I' : 'M';
    bytes[0] = mark;
    bytes[1] = mark;
    Put16(bytes, 2, TIFF_MAGIC, layout.order);
    Put32(bytes, 4, static_cast<uint32_t>(TIFF_HEADER_SIZE), layout.order);
    size_t nextTriple = TriplesOffset(layout);
    WriteDirectory(bytes, TIFF_HEADER_SIZE, layout.ifd0, layout, &nextTriple);
    WriteDirectory(bytes, GpsDirectoryOffset(layout), layout.gps, layout, &nextTriple);
    return bytes;
}

void Put16(Bytes& bytes, size_t at, uint16_t value, ByteOrder order) {
    const uint8_t low = value & 0xFF;
    const uint8_t high = value >> 8;
    bytes[at] = order == ByteOrder::INTEL ? low : high;
    bytes[at + 1] = order == ByteOrder::INTEL ? high : low;
}

void Put32(Bytes& bytes, size_t at, uint32_t value, ByteOrder order) {
    const uint16_t low = value & 0xFFFF;
    const uint16_t high = value >> 16;
    Put16(bytes, at, order == ByteOrder::INTEL ? low : high, order);
    Put16(bytes, at + 2, order == ByteOrder::INTEL ? high : low, order);
}

Bytes Segment(uint8_t marker, const Bytes& payload) {
    return Concat({SegmentHeader(marker, static_cast<uint16_t>(payload.size() + 2)), payload});
}

Bytes SegmentHeader(uint8_t marker, uint16_t length) {
    return Bytes{0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
}

Bytes JfifApp0() {
    return Segment(MARKER_APP0, Bytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
}

Bytes ExifApp1(const Bytes& tiff) {
    return Segment(MARKER_APP1, Concat({Bytes{'E', 'x', 'i', 'f', 0, 0}, tiff}));
}

Bytes XmpApp1() {
    const char* text = "http://ns.adobe.com/xap/1.0/";
    Bytes payload(text, text + std::strlen(text) + 1);
    const char* packet = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    payload.insert(payload.end(), packet, packet + std::strlen(packet));
    return Segment(MARKER_APP1, payload);
}

Bytes ScanAndEnd() {
    return Concat({Segment(MARKER_SOS, Bytes{1, 1, 0, 0, 0x3F, 0}),
                   Bytes{0x12, 0x34, 0x56, 0xFF, 0x00, 0x78, 0xFF, 0xD9}});
}

Bytes Jpeg(const std::vector<Bytes>& pieces) {
    Bytes bytes{0xFF, 0xD8};
    const Bytes rest = Concat(pieces);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

Bytes Concat(const std::vector<Bytes>& pieces) {
    Bytes bytes;
    for (const Bytes& piece : pieces) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    }
    return bytes;
}
