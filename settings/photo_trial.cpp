#include "settings/photo_trial.h"

#include "common/messages.h"
#include "common/owners.h"
#include "offer/content_type.h"
#include "position/command/selected_file.h"
#include "position/gps_reading.h"
#include "settings/preview.h"
#include "settings/settings_strings.h"

namespace {

PhotoReading NotRead(Status error) {
    PhotoReading reading;
    reading.outcome = PhotoReading::NOT_READ;
    reading.error = error;
    return reading;
}

}  // namespace

PhotoReading ReadPhoto(const std::wstring& path) {
    PhotoReading reading;
    if (path.empty()) {
        return reading;
    }
    FileKind kind = FileKind::NONE;
    const HRESULT found = FindFileKind(path.c_str(), &kind);
    if (found != S_OK) {
        return NotRead(found);
    }
    if (kind == FileKind::NONE) {
        reading.outcome = PhotoReading::NOT_OFFERED;
        return reading;
    }
    UniqueFile file;
    const HRESULT opened = OpenSelectedFile(path.c_str(), &file);
    if (opened != S_OK) {
        return NotRead(opened);
    }
    CQuorielReader reader;
    const Status status = ReadGpsPosition(reader, file.Get(), kind, &reading.position);
    switch (status) {
        case RESULT_DONE:
            reading.outcome = PhotoReading::POSITION;
            return reading;
        case RESULT_NO_POSITION:
            reading.outcome = PhotoReading::NO_POSITION;
            return reading;
        case RESULT_NO_EXIF:
            reading.outcome = PhotoReading::NO_EXIF;
            return reading;
        default:
            return NotRead(status);
    }
}

std::wstring DescribeReading(const PhotoReading& reading, const WindowTexts& texts,
                             const MessageTexts& messages) {
    switch (reading.outcome) {
        case PhotoReading::NONE:
            return std::wstring();
        case PhotoReading::POSITION:
            return FormatText(texts.Get(IDS_PHOTO_POSITION), {DegreesText(reading.position)});
        case PhotoReading::NOT_OFFERED:
            return texts.Get(IDS_PHOTO_NOT_OFFERED);
        case PhotoReading::NO_POSITION:
            return messages.noPosition;
        case PhotoReading::NO_EXIF:
            return messages.noExif;
        case PhotoReading::NOT_READ:
            return FormatText(texts.Get(IDS_PHOTO_NOT_READ), {ErrorCodeText(reading.error)});
    }
    return std::wstring();
}
