#include "position/kind_table.h"

#include <iterator>

#include "position/chunks/png_locator.h"
#include "position/chunks/webp_locator.h"
#include "position/isobmff/canon_locator.h"
#include "position/isobmff/heif_locator.h"
#include "position/jpeg_locator.h"
#include "position/movie/video_location.h"

namespace {

// A TIFF file is its own block, from where it was opened. Its offsets are 32-bit: a file of
// 4 GiB or more is read as far as they reach.
Status WholeFile(FileSource& file, FileWindow* window) {
    uint64_t size = 0;
    const Status status = file.Size(&size);
    if (status != RESULT_DONE) {
        return status;
    }
    *window = FileWindow{0, size < UINT32_MAX ? static_cast<uint32_t>(size) : UINT32_MAX};
    return RESULT_DONE;
}

constexpr FileAccess DIRECT = FileAccess::DIRECT;
constexpr FileAccess READ_AHEAD = FileAccess::READ_AHEAD;
constexpr GpsDirectory POINTED_TO = GpsDirectory::POINTED_TO;
constexpr GpsDirectory FIRST = GpsDirectory::FIRST;

// JPEG and TIFF files are read call by call, as they always have been; every other kind, the
// raws that are TIFF files included, through read-ahead blocks. Olympus and Panasonic raws have
// their own magic number, 42 every other block; a CR3's GPS block is the GPS directory alone,
// every other block leads to it from IFD0.
constexpr KindRow KINDS[] = {
    {FileKind::TIFF, "TIFF", DIRECT, TiffBlock(WholeFile, TiffMagic::TIFF, POINTED_TO)},
    {FileKind::JPEG, "JPEG", DIRECT, TiffBlock(LocateJpegExif, TiffMagic::TIFF, POINTED_TO)},
    {FileKind::HEIF, "HEIF", READ_AHEAD, TiffBlock(LocateHeifExif, TiffMagic::TIFF, POINTED_TO)},
    {FileKind::WEBP, "WEBP", READ_AHEAD, TiffBlock(LocateWebpExif, TiffMagic::TIFF, POINTED_TO)},
    {FileKind::PNG, "PNG", READ_AHEAD, TiffBlock(LocatePngExif, TiffMagic::TIFF, POINTED_TO)},
    {FileKind::VIDEO, "VIDEO", READ_AHEAD, OwnRecords(ReadVideoLocation)},
    {FileKind::ORF, "ORF", READ_AHEAD, TiffBlock(WholeFile, TiffMagic::ORF, POINTED_TO)},
    {FileKind::RW2, "RW2", READ_AHEAD, TiffBlock(WholeFile, TiffMagic::RW2, POINTED_TO)},
    {FileKind::CR3, "CR3", READ_AHEAD, TiffBlock(LocateCanonGps, TiffMagic::TIFF, FIRST)},
    {FileKind::TIFF_RAW, "TIFF_RAW", READ_AHEAD, TiffBlock(WholeFile, TiffMagic::TIFF, POINTED_TO)},
};

// Whether count rows are one per kind, each at the index of its kind's value.
constexpr bool OneRowPerKind(const KindRow* rows, size_t count) {
    if (count != FILE_KIND_COUNT) {
        return false;
    }
    for (size_t index = 0; index < count; ++index) {
        if (static_cast<size_t>(rows[index].kind) != index) {
            return false;
        }
    }
    return true;
}

static_assert(OneRowPerKind(KINDS, std::size(KINDS)),
              "KINDS needs one row per FileKind, in the order of their values");
// The check refuses a table that lacks the row of the last kind, as it would one kind more.
static_assert(!OneRowPerKind(KINDS, std::size(KINDS) - 1), "an incomplete table must not build");

}  // namespace

const KindRow* KindRowOf(FileKind kind) {
    const size_t index = static_cast<size_t>(kind);
    return index < FILE_KIND_COUNT ? &KINDS[index] : nullptr;
}

const char* KindName(FileKind kind) {
    const KindRow* row = KindRowOf(kind);
    return row != nullptr ? row->name : "none";
}
