#pragma once
// "Try with a photo": the module's own reading of a file, as the menu would go about it, with
// nothing launched.

#include <windows.h>

#include <string>

#include "common/gps_position.h"
#include "common/messages.h"
#include "common/status.h"
#include "common/ui_language.h"

struct PhotoReading {
    // NOT_OFFERED: the menu shows no item for the file (its type, or the stored formats switch).
    enum Outcome { NONE, POSITION, NOT_OFFERED, NO_POSITION, NO_EXIF, NOT_READ } outcome = NONE;
    GpsPosition position{};
    Status error = RESULT_DONE;  // for NOT_READ
};

// The reading of the file at path; NONE for an empty path.
PhotoReading ReadPhoto(const std::wstring& path);

// The position in degrees, or the message the menu would give, in words.
std::wstring DescribeReading(const PhotoReading& reading, const WindowTexts& texts,
                             const MessageTexts& messages);
