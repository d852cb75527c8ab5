#pragma once
// Builds the boxes of HEIF-family files byte by byte, so that each test case reads as the
// structure it holds: boxes with their sizes worked out (or chosen), and the meta boxes that
// name and place items. The TIFF data comes from exif_builder.h.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/position/exif_builder.h"

// A big-endian number of size bytes (0, 2, 4 or 8).
Bytes BigEndian(uint32_t size, uint64_t value);

// A box with a 32-bit size, with a 64-bit size (size field 1), or running to the end of its
// parent or the file (size field 0).
Bytes Box(const std::string& type, const Bytes& payload);
Bytes LargeBox(const std::string& type, const Bytes& payload);
Bytes BoxToEnd(const std::string& type, const Bytes& payload);
// Headers with a size of one's choosing.
Bytes BoxHeader(const std::string& type, uint32_t size);
Bytes LargeBoxHeader(const std::string& type, uint64_t size);
Bytes FullBox(const std::string& type, uint8_t version, uint32_t flags, const Bytes& payload);

// ftyp with the brand as major brand and mif1 beside it.
Bytes Ftyp(const std::string& brand);
// The handler box of a meta box, naming what its items are ("pict", "mdta", "mdir").
Bytes HandlerBox(const std::string& type);
// The handler box of an image's meta box.
Bytes PictHandler();

Bytes Infe(uint8_t version, uint32_t id, const std::string& itemType, uint16_t protection = 0);
// iinf with entries.size() as its count, or with a count of one's choosing.
Bytes Iinf(uint8_t version, const std::vector<Bytes>& entries);
Bytes Iinf(uint8_t version, uint32_t count, const std::vector<Bytes>& entries);
Bytes Pitm(uint8_t version, uint32_t id);

struct ItemReference {
    std::string type;
    uint32_t from;
    std::vector<uint32_t> to;
};
Bytes Iref(uint8_t version, const std::vector<ItemReference>& references);

struct Extent {
    uint64_t offset;
    uint64_t length;
    uint64_t index = 0;  // written when the format's index size is not 0
};

struct ItemLocation {
    uint32_t id;
    uint8_t construction = 0;  // versions 1 and 2 only
    uint64_t baseOffset = 0;
    std::vector<Extent> extents;
    uint16_t dataReference = 0;
};

struct IlocFormat {
    uint8_t version;
    uint8_t offsetSize;
    uint8_t lengthSize;
    uint8_t baseOffsetSize;
    uint8_t indexSize;  // versions 1 and 2 only
};

// iloc with items.size() as its count, or with a count of one's choosing.
Bytes Iloc(const IlocFormat& format, const std::vector<ItemLocation>& items);
Bytes Iloc(const IlocFormat& format, uint32_t count, const std::vector<ItemLocation>& items);

// An Exif item's data: the skip count, "Exif\0\0" cut or padded with zeros to skip bytes, and
// the TIFF data.
Bytes ExifItemData(const Bytes& tiff, uint32_t skip = 6);
