// Finds the Exif item of a HEIF-family file (HEIC, HEIF, AVIF): the top-level boxes up to the
// first meta box, the boxes of meta that name and place its items, and the TIFF data behind the
// Exif item's skip count. Only box headers and those structures are read, never image data: an
// mdat before meta is passed over by its size.
#include "position/box_reader.h"
#include "position/exif_locators.h"
#include "position/heif_items.h"
#include "position/item_locations.h"

namespace {

constexpr uint32_t TYPE_FTYP = FourCc("ftyp");
constexpr uint32_t TYPE_IINF = FourCc("iinf");
constexpr uint32_t TYPE_ILOC = FourCc("iloc");
constexpr uint32_t TYPE_IREF = FourCc("iref");
constexpr uint32_t TYPE_PITM = FourCc("pitm");
constexpr uint32_t TYPE_IDAT = FourCc("idat");
constexpr uint8_t META_VERSION = 0;

// Top-level boxes and meta's children together.
constexpr uint32_t BOX_LIMIT = 256;

// The Exif item's data: 4 big-endian count of bytes to skip (usually 6, for "Exif\0\0"),
// those bytes, then the TIFF header.
constexpr uint32_t SKIP_COUNT_SIZE = 4;

struct MetaBoxes {
    Box iinf, iloc, iref, pitm, idat;  // a box of type TYPE_ABSENT is not there
};

// The end of the walk at the top level; a file of 4 GiB or more is walked as far as a 32-bit
// size goes: the items are read through the TIFF reader's 32-bit windows.
uint64_t FileEnd(HANDLE file) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    return high != 0 ? uint64_t{UINT32_MAX} : uint64_t{low};
}

// The meta box of the top level, behind an ftyp box that must come first; budget gives what is
// left of the box limit for meta's children.
Status FindMeta(HANDLE file, Box* meta, uint32_t* budget) {
    BoxWalk top{0, FileEnd(file), BOX_LIMIT};
    Status status = NextBox(file, &top, meta);
    if (status != RESULT_DONE) {
        return status;
    }
    if (meta->type != TYPE_FTYP) {
        return RESULT_NO_EXIF;
    }
    status = FindBox(file, &top, TYPE_META, meta);
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

// What the item's offsets are relative to, cut at the seek reach.
Status RegionOf(const ItemPlace& item, const MetaBoxes& boxes, HANDLE file, FileWindow* region) {
    uint64_t start = 0;
    uint64_t end = FileEnd(file);
    if (item.construction == ItemConstruction::IDAT_OFFSET) {
        if (boxes.idat.type == TYPE_ABSENT) {
            return RESULT_NO_EXIF;
        }
        start = boxes.idat.payload;
        end = boxes.idat.end;
    }
    if (start >= SEEK_REACH) {
        return RESULT_NO_EXIF;
    }
    const uint64_t reachable = end < SEEK_REACH ? end : SEEK_REACH;
    *region = FileWindow{static_cast<uint32_t>(start), static_cast<uint32_t>(reachable - start)};
    return RESULT_DONE;
}

// The TIFF data behind the Exif item's skip count; the file is left standing at its start.
Status ExifWindowOf(HANDLE file, const FileWindow& region, const ItemPlace& item,
                    FileWindow* window) {
    if (item.offset > region.length || item.length > region.length - item.offset ||
        item.length < SKIP_COUNT_SIZE) {
        return RESULT_NO_EXIF;
    }
    // Inside the region, so below the seek reach: every sum below fits in 32 bits.
    const uint32_t start = region.start + static_cast<uint32_t>(item.offset);
    const uint32_t length = static_cast<uint32_t>(item.length);
    BYTE skipCount[SKIP_COUNT_SIZE];
    const Status status = ReadAt(file, start, skipCount);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint32_t skip = BigEndian32(skipCount);
    if (skip > length - SKIP_COUNT_SIZE) {
        return RESULT_NO_EXIF;
    }
    *window = FileWindow{start + SKIP_COUNT_SIZE + skip, length - SKIP_COUNT_SIZE - skip};
    SeekTo(file, window->start);
    return RESULT_DONE;
}

}  // namespace

Status LocateHeifExif(HANDLE file, FileWindow* window) {
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
    FileWindow region{};
    status = RegionOf(item, boxes, file, &region);
    if (status != RESULT_DONE) {
        return status;
    }
    return ExifWindowOf(file, region, item, window);
}
