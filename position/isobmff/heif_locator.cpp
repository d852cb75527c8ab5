// Finds the Exif item of a HEIF-family file (HEIC, HEIF, AVIF): the top-level boxes up to the
// first meta box, the boxes of meta that name and place its items, and the TIFF data behind the
// Exif item's skip count. Only box headers and those structures are read, never image data: an
// mdat before meta is passed over by its size.
#include "position/isobmff/heif_locator.h"

#include "position/isobmff/box_reader.h"
#include "position/isobmff/heif_items.h"
#include "position/isobmff/item_locations.h"

namespace {

constexpr uint32_t TYPE_IINF = FourCc("iinf");
constexpr uint32_t TYPE_ILOC = FourCc("iloc");
constexpr uint32_t TYPE_IREF = FourCc("iref");
constexpr uint32_t TYPE_PITM = FourCc("pitm");
constexpr uint32_t TYPE_IDAT = FourCc("idat");
constexpr uint8_t META_VERSION = 0;

// The Exif item's data: 4 big-endian count of bytes to skip (usually 6, for "Exif\0\0"),
// those bytes, then the TIFF header.
constexpr uint32_t SKIP_COUNT_SIZE = 4;

struct MetaBoxes {
    Box iinf, iloc, iref, pitm, idat;  // a box of type TYPE_ABSENT is not there
};

// The meta box of the top level, behind an ftyp box that must come first; budget gives what is
// left of the box limit, which the top level and meta's children share, for meta's children.
Status FindMeta(FileSource& file, Box* meta, uint32_t* budget) {
    BoxWalk top{};
    Status status = FindTopBox(file, TYPE_META, &top, meta);
    if (status != RESULT_DONE) {
        return status;
    }
    *budget = top.budget;
    // meta: 4 version/flags | its child boxes.
    uint8_t version = 0;
    uint32_t flags = 0;
    status = ReadFullBoxHeader(file, meta, &version, &flags);
    if (status != RESULT_DONE) {
        return status;
    }
    return version == META_VERSION ? RESULT_DONE : RESULT_NO_EXIF;
}

// What the item's offsets are relative to: the file, or the payload of meta's idat.
Status RegionOf(const ItemPlace& item, const MetaBoxes& boxes, FileSource& file, uint64_t* start,
                uint64_t* end) {
    if (item.construction == ItemConstruction::IDAT_OFFSET) {
        if (boxes.idat.type == TYPE_ABSENT) {
            return RESULT_NO_EXIF;
        }
        *start = boxes.idat.payload;
        *end = boxes.idat.end;
        return RESULT_DONE;
    }
    *start = 0;
    return file.Size(end);
}

// The TIFF data behind the Exif item's skip count; the file is left standing at its start.
Status ExifWindowOf(FileSource& file, uint64_t start, uint64_t end, const ItemPlace& item,
                    FileWindow* window) {
    const uint64_t room = end - start;
    if (item.offset > room || item.length > room - item.offset || item.length < SKIP_COUNT_SIZE) {
        return RESULT_NO_EXIF;
    }
    const uint64_t at = start + item.offset;
    // TIFF offsets reach no further than 32 bits: a longer item is read as far as they reach.
    const uint32_t length =
        item.length < UINT32_MAX ? static_cast<uint32_t>(item.length) : UINT32_MAX;
    BYTE skipCount[SKIP_COUNT_SIZE];
    const Status status = ReadAt(file, at, skipCount);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint32_t skip = BigEndian32(skipCount);
    if (skip > length - SKIP_COUNT_SIZE) {
        return RESULT_NO_EXIF;
    }
    *window = FileWindow{at + SKIP_COUNT_SIZE + skip, length - SKIP_COUNT_SIZE - skip};
    return file.MoveTo(window->start);
}

}  // namespace

Status LocateHeifExif(FileSource& file, FileWindow* window) {
    Box meta{};
    uint32_t budget = 0;
    Status status = FindMeta(file, &meta, &budget);
    if (status != RESULT_DONE) {
        return status;
    }
    MetaBoxes boxes{};
    status = CollectChildren(file, ChildrenOf(meta, budget), ShortTail::DAMAGED,
                             {{TYPE_IINF, &boxes.iinf},
                              {TYPE_ILOC, &boxes.iloc},
                              {TYPE_IREF, &boxes.iref},
                              {TYPE_PITM, &boxes.pitm},
                              {TYPE_IDAT, &boxes.idat}});
    if (status != RESULT_DONE) {
        return status;
    }
    if (boxes.iinf.type == TYPE_ABSENT || boxes.iloc.type == TYPE_ABSENT) {
        return RESULT_NO_EXIF;
    }
    uint32_t id = 0;
    status = FindExifItem(file, boxes.iinf, boxes.pitm, boxes.iref, &id);
    if (status != RESULT_DONE) {
        return status;
    }
    ItemPlace item{};
    status = FindItemPlace(file, boxes.iloc, id, &item);
    if (status != RESULT_DONE) {
        return status;
    }
    uint64_t start = 0;
    uint64_t end = 0;
    status = RegionOf(item, boxes, file, &start, &end);
    if (status != RESULT_DONE) {
        return status;
    }
    return ExifWindowOf(file, start, end, item, window);
}
