#pragma once
// Where an item's data lies, from the item location box (iloc) of a meta box.

#include <windows.h>

#include <cstdint>

#include "common/status.h"
#include "position/isobmff/box_reader.h"

enum class ItemConstruction : uint8_t {
    FILE_OFFSET = 0,  // offsets into the file
    IDAT_OFFSET = 1,  // offsets into the payload of the meta box's idat
};

// The item's data as one run of bytes: offset and length relative to what construction says.
struct ItemPlace {
    ItemConstruction construction;
    uint64_t offset;
    uint64_t length;
};

// The place of item id; RESULT_NO_EXIF when iloc is damaged, does not list the item, or places
// it in a way not read here (another construction method, another file, a length of 0).
Status FindItemPlace(FileSource& file, const Box& iloc, uint32_t id, ItemPlace* place);
