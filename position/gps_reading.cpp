// Each kind's way to its position, as its row in the kind table gives it: the locator of its
// TIFF block and that block's magic number and GPS directory, or (for videos) its own records.
// Nothing here names a kind; a byte that names none is no Exif.
#include "position/gps_reading.h"

namespace {

Status ReadTiffBlock(CQuorielReader& reader, FileSource& file, const KindReading& reading,
                     GpsPosition* position) {
    FileWindow window{};
    const Status status = reading.locate(file, &window);
    if (status != RESULT_DONE) {
        return status;
    }
    return reader.ReadTiffPosition(file, window, position, reading.magic, reading.gps);
}

Status ReadRow(CQuorielReader& reader, FileSource& file, const KindRow& row,
               GpsPosition* position) {
    if (row.reading.records != nullptr) {
        return row.reading.records(file, position);
    }
    return ReadTiffBlock(reader, file, row.reading, position);
}

}  // namespace

Status LocateTiffBlock(FileSource& file, FileKind kind, FileWindow* window) {
    const KindRow* row = KindRowOf(kind);
    if (row == nullptr || row->reading.locate == nullptr) {
        return RESULT_NO_EXIF;
    }
    return row->reading.locate(file, window);
}

Status ReadGpsPosition(CQuorielReader& reader, HANDLE handle, FileKind kind,
                       GpsPosition* position) {
    const KindRow* row = KindRowOf(kind);
    if (row == nullptr) {
        return RESULT_NO_EXIF;
    }
    FileSource file(handle, row->access);
    return ReadRow(reader, file, *row, position);
}

Status ReadGpsPosition(CQuorielReader& reader, FileSource& file, FileKind kind,
                       GpsPosition* position) {
    const KindRow* row = KindRowOf(kind);
    if (row == nullptr) {
        return RESULT_NO_EXIF;
    }
    return ReadRow(reader, file, *row, position);
}
