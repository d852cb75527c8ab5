// Each kind with its way to the position: the TIFF block its locator finds, or a video's
// records. The locators' switch names every kind and has no default, so a kind added to the
// table without one is a compile error, not a silent "no Exif".
#include "position/gps_reading.h"

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

// JPEG and TIFF files are read call by call, as they always have been; every other kind, the
// raws that are TIFF files included, through read-ahead blocks.
FileAccess AccessFor(FileKind kind) {
    return kind == FileKind::JPEG || kind == FileKind::TIFF ? FileAccess::DIRECT
                                                            : FileAccess::READ_AHEAD;
}

// The raws with their own header magic; 42 for every other kind.
TiffMagic MagicOf(FileKind kind) {
    return kind == FileKind::ORF   ? TiffMagic::ORF
           : kind == FileKind::RW2 ? TiffMagic::RW2
                                   : TiffMagic::TIFF;
}

// A CR3's GPS block is the GPS directory alone; every other block leads to it from IFD0.
GpsDirectory GpsDirectoryOf(FileKind kind) {
    return kind == FileKind::CR3 ? GpsDirectory::FIRST : GpsDirectory::POINTED_TO;
}

Status ReadBlock(CQuorielReader& reader, FileSource& file, FileKind kind, GpsPosition* position) {
    FileWindow window{};
    const Status status = LocateTiffBlock(file, kind, &window);
    if (status != RESULT_DONE) {
        return status;
    }
    return reader.ReadTiffPosition(file, window, position, MagicOf(kind), GpsDirectoryOf(kind));
}

}  // namespace

Status LocateTiffBlock(FileSource& file, FileKind kind, FileWindow* window) {
    switch (kind) {
        case FileKind::JPEG:
            return LocateJpegExif(file, window);
        case FileKind::TIFF:
        case FileKind::TIFF_RAW:
        case FileKind::ORF:
        case FileKind::RW2:
            return WholeFile(file, window);
        case FileKind::HEIF:
            return LocateHeifExif(file, window);
        case FileKind::WEBP:
            return LocateWebpExif(file, window);
        case FileKind::PNG:
            return LocatePngExif(file, window);
        case FileKind::CR3:
            return LocateCanonGps(file, window);
        case FileKind::VIDEO:  // its own location records instead
        case FileKind::NONE:
            break;
    }
    return RESULT_NO_EXIF;
}

Status ReadJpegPosition(CQuorielReader& reader, FileSource& file, GpsPosition* position) {
    return ReadBlock(reader, file, FileKind::JPEG, position);
}

Status ReadGpsPosition(CQuorielReader& reader, HANDLE handle, FileKind kind,
                       GpsPosition* position) {
    FileSource file(handle, AccessFor(kind));
    return ReadGpsPosition(reader, file, kind, position);
}

Status ReadGpsPosition(CQuorielReader& reader, FileSource& file, FileKind kind,
                       GpsPosition* position) {
    if (kind == FileKind::VIDEO) {
        return ReadVideoLocation(file, position);
    }
    if (kind == FileKind::JPEG) {
        return ReadJpegPosition(reader, file, position);
    }
    return ReadBlock(reader, file, kind, position);
}
