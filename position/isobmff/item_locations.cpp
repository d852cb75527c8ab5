// Walks the entries of an item location box to the one of an item and reads its extents. The
// entries of other items are passed over by their sizes: only their ID and extent count are
// read.
#include "position/isobmff/item_locations.h"

namespace {

// Entries walked, and extents read of the item's entry.
constexpr uint32_t ITEM_LOCATION_LIMIT = 1024;
constexpr uint32_t EXTENT_LIMIT = 64;

constexpr uint32_t SIZES_SIZE = 2;
constexpr uint32_t CONSTRUCTION_SIZE = 2;
constexpr uint32_t DATA_REFERENCE_SIZE = 2;
constexpr uint32_t EXTENT_COUNT_SIZE = 2;
constexpr uint32_t CONSTRUCTION_MASK = 0x000F;
constexpr uint32_t NIBBLE_BITS = 4;
constexpr uint32_t NIBBLE_MASK = 0xF;
// The data of this file; another index names a data reference of dinf.
constexpr uint64_t THIS_FILE = 0;

// Sizes of the variable fields, from the 16 bits behind version/flags.
struct FieldSizes {
    uint32_t offset;
    uint32_t length;
    uint32_t baseOffset;
    uint32_t index;  // versions 1 and 2; reserved in version 0
};

// a + b into *sum, unless it would wrap.
bool SumFits(uint64_t a, uint64_t b, uint64_t* sum) {
    if (b > UINT64_MAX - a) {
        return false;
    }
    *sum = a + b;
    return true;
}

bool IsFieldSize(uint32_t size) {
    return size == 0 || size == 4 || size == 8;
}

Status ReadFieldSizes(FileSource& file, FieldCursor* fields, uint8_t version, FieldSizes* sizes) {
    uint64_t packed = 0;
    const Status status = ReadField(file, fields, SIZES_SIZE, &packed);
    if (status != RESULT_DONE) {
        return status;
    }
    const auto nibble = [packed](uint32_t place) {
        return static_cast<uint32_t>(packed >> (place * NIBBLE_BITS)) & NIBBLE_MASK;
    };
    *sizes = FieldSizes{nibble(3), nibble(2), nibble(1), version == 0 ? 0 : nibble(0)};
    const bool valid = IsFieldSize(sizes->offset) && IsFieldSize(sizes->length) &&
                       IsFieldSize(sizes->baseOffset) && IsFieldSize(sizes->index);
    return valid ? RESULT_DONE : RESULT_NO_EXIF;
}

// Extents: extent_index (index size) | extent_offset (offset size) | extent_length (length
// size), each 0, 4 or 8 bytes. The first gives the item's start; those that follow it directly
// in the file lengthen it, and the first that does not ends the item's data as read here.
Status ReadExtents(FileSource& file, FieldCursor* fields, const FieldSizes& sizes, uint64_t count,
                   uint64_t baseOffset, ItemPlace* place) {
    for (uint64_t i = 0; i < count && i < EXTENT_LIMIT; ++i) {
        uint64_t index = 0;
        uint64_t offset = 0;
        uint64_t length = 0;
        const Status status =
            ReadFields(file, fields,
                       {{sizes.index, &index}, {sizes.offset, &offset}, {sizes.length, &length}});
        if (status != RESULT_DONE) {
            return status;
        }
        uint64_t start = 0;
        const bool placed = length != 0 && SumFits(baseOffset, offset, &start);
        if (i == 0) {
            if (!placed) {
                return RESULT_NO_EXIF;
            }
            place->offset = start;
            place->length = length;
            continue;
        }
        uint64_t end = 0;
        if (!placed || !SumFits(place->offset, place->length, &end) || start != end ||
            !SumFits(place->length, length, &place->length)) {
            return RESULT_DONE;
        }
    }
    return RESULT_DONE;
}

// One entry, from behind its item_ID: construction_method (versions 1 and 2, 2 bytes, low 4
// bits) | 2 data_reference_index | base_offset (base offset size) | 2 extent_count | extents.
Status ReadPlace(FileSource& file, FieldCursor* fields, uint8_t version, const FieldSizes& sizes,
                 ItemPlace* place) {
    uint64_t construction = 0;
    uint64_t dataReference = 0;
    uint64_t baseOffset = 0;
    uint64_t extents = 0;
    const Status status = ReadFields(file, fields,
                                     {{version == 0 ? 0 : CONSTRUCTION_SIZE, &construction},
                                      {DATA_REFERENCE_SIZE, &dataReference},
                                      {sizes.baseOffset, &baseOffset},
                                      {EXTENT_COUNT_SIZE, &extents}});
    if (status != RESULT_DONE) {
        return status;
    }
    construction &= CONSTRUCTION_MASK;
    const bool readable = construction == static_cast<uint64_t>(ItemConstruction::IDAT_OFFSET) ||
                          (construction == static_cast<uint64_t>(ItemConstruction::FILE_OFFSET) &&
                           dataReference == THIS_FILE);
    if (!readable || extents == 0) {
        return RESULT_NO_EXIF;
    }
    place->construction = static_cast<ItemConstruction>(construction);
    return ReadExtents(file, fields, sizes, extents, baseOffset, place);
}

// Passes over the rest of an entry that is not the item's, from behind its item_ID.
Status SkipPlace(FileSource& file, FieldCursor* fields, uint8_t version, const FieldSizes& sizes) {
    const uint64_t construction = version == 0 ? 0 : CONSTRUCTION_SIZE;
    Status status = SkipField(fields, construction + DATA_REFERENCE_SIZE + sizes.baseOffset);
    if (status != RESULT_DONE) {
        return status;
    }
    uint64_t extents = 0;
    status = ReadField(file, fields, EXTENT_COUNT_SIZE, &extents);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint64_t extentSize = uint64_t{sizes.index} + sizes.offset + sizes.length;
    return SkipField(fields, extents * extentSize);
}

}  // namespace

// iloc: 4 version/flags (versions 0, 1, 2) | 2 field sizes | item_count, 2 bytes (versions 0
// and 1) or 4 (version 2) | entries, each beginning with its item_ID, 2 or 4 bytes as the count.
Status FindItemPlace(FileSource& file, const Box& iloc, uint32_t id, ItemPlace* place) {
    Box box = iloc;
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &box, &version, &flags);
    if (status != RESULT_DONE) {
        return status;
    }
    if (version > 2) {
        return RESULT_NO_EXIF;
    }
    FieldCursor fields = PayloadOf(box);
    FieldSizes sizes{};
    status = ReadFieldSizes(file, &fields, version, &sizes);
    if (status != RESULT_DONE) {
        return status;
    }
    uint64_t count = 0;
    status = ReadField(file, &fields, version < 2 ? COUNT16_SIZE : COUNT32_SIZE, &count);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint32_t idSize = version < 2 ? SHORT_ID_SIZE : LONG_ID_SIZE;
    for (uint64_t i = 0; i < count && i < ITEM_LOCATION_LIMIT; ++i) {
        uint64_t item = 0;
        status = ReadField(file, &fields, idSize, &item);
        if (status != RESULT_DONE) {
            return status;
        }
        if (item == id) {
            return ReadPlace(file, &fields, version, sizes, place);
        }
        status = SkipPlace(file, &fields, version, sizes);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    return RESULT_NO_EXIF;
}
