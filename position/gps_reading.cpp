// Each kind with its way to the position. The switch names every kind and has no default, so
// a kind added to the table without a reading is a compile error, not a silent "no Exif".
#include "position/gps_reading.h"

#include "position/chunks/png_locator.h"
#include "position/chunks/webp_locator.h"
#include "position/isobmff/heif_locator.h"
#include "position/jpeg_locator.h"
#include "position/movie/video_location.h"

namespace {

using Locator = Status (*)(FileSource& file, FileWindow* window);

// A container's block, then the TIFF reader on it.
Status ReadLocated(CQuorielReader& reader, FileSource& file, Locator locate,
                   GpsPosition* position) {
    FileWindow window{};
    const Status status = locate(file, &window);
    if (status != RESULT_DONE) {
        return status;
    }
    return reader.ReadTiffPosition(file, window, position);
}

// A TIFF file is its own block, from where it was opened. Its offsets are 32-bit: a file of
// 4 GiB or more is read as far as they reach.
Status ReadTiffFile(CQuorielReader& reader, FileSource& file, GpsPosition* position) {
    uint64_t size = 0;
    const Status status = file.Size(&size);
    if (status != RESULT_DONE) {
        return status;
    }
    const FileWindow window{0, size < UINT32_MAX ? static_cast<uint32_t>(size) : UINT32_MAX};
    return reader.ReadTiffPosition(file, window, position);
}

// JPEG and TIFF files are read call by call, as they always have been; every other kind
// through read-ahead blocks.
FileAccess AccessFor(FileKind kind) {
    return kind == FileKind::JPEG || kind == FileKind::TIFF ? FileAccess::DIRECT
                                                            : FileAccess::READ_AHEAD;
}

}  // namespace

Status ReadJpegPosition(CQuorielReader& reader, FileSource& file, GpsPosition* position) {
    return ReadLocated(reader, file, LocateJpegExif, position);
}

Status ReadGpsPosition(CQuorielReader& reader, HANDLE handle, FileKind kind,
                       GpsPosition* position) {
    FileSource file(handle, AccessFor(kind));
    return ReadGpsPosition(reader, file, kind, position);
}

Status ReadGpsPosition(CQuorielReader& reader, FileSource& file, FileKind kind,
                       GpsPosition* position) {
    switch (kind) {
        case FileKind::JPEG:
            return ReadJpegPosition(reader, file, position);
        case FileKind::TIFF:
            return ReadTiffFile(reader, file, position);
        case FileKind::HEIF:
            return ReadLocated(reader, file, LocateHeifExif, position);
        case FileKind::WEBP:
            return ReadLocated(reader, file, LocateWebpExif, position);
        case FileKind::PNG:
            return ReadLocated(reader, file, LocatePngExif, position);
        case FileKind::VIDEO:
            return ReadVideoLocation(file, position);
        case FileKind::NONE:
            break;
    }
    return RESULT_NO_EXIF;
}
