// The reading of an open file: the locator of its kind, then the TIFF reader on the block; a
// video's location records instead, since videos carry no Exif.
#include "position/exif_locators.h"
#include "position/quoriel_reader.h"
#include "position/video_location.h"

Status LocateExif(HANDLE file, FileKind kind, FileWindow* window) {
    switch (kind) {
        case FileKind::JPEG:
            return LocateJpegExif(file, window);
        case FileKind::HEIF:
            return LocateHeifExif(file, window);
        case FileKind::WEBP:
            return LocateWebpExif(file, window);
        case FileKind::PNG:
            return LocatePngExif(file, window);
        case FileKind::TIFF:
            // The whole file, as far as its low 32 bits tell, from where it was opened.
            *window = FileWindow{0, GetFileSize(file, nullptr)};
            return RESULT_DONE;
        default:
            return RESULT_NO_EXIF;
    }
}

Status CQuorielReader::ReadGpsPosition(HANDLE file, FileKind kind, GpsPosition* position) {
    if (kind == FileKind::VIDEO) {
        return ReadVideoLocation(file, position);
    }
    FileWindow window{};
    const Status status = LocateExif(file, kind, &window);
    if (status != RESULT_DONE) {
        return status;
    }
    return ReadTiffGps(file, window, position);
}
