#pragma once
// Turns a launch template, the four hemisphere texts and a position into the text to launch.
// "@A" selects the latitude and "@O" the longitude; the letter after the axis picks the part.

#include <windows.h>

#include <cstddef>

#include "common/gps_position.h"
#include "common/owners.h"
#include "common/status.h"

// A text with its stored length in characters, terminating NUL excluded.
struct StoredText {
    const WCHAR* text;
    size_t length;
};

struct HemisphereTexts {
    StoredText north;
    StoredText south;
    StoredText east;
    StoredText west;
};

// The template is read from templateText, its first character that is not a space, up to its
// NUL; storedLength counts the whole stored template, leading spaces included, so the room
// reserved may exceed the need by their number.

// The characters the write pass may use, terminating NUL included.
size_t MeasurePositionTemplate(const WCHAR* templateText, size_t storedLength,
                               const HemisphereTexts& hemispheres, const GpsPosition& position);

// 0 with the expanded text in *expanded, or STATUS_OUT_OF_MEMORY.
Status ExpandPositionTemplate(const WCHAR* templateText, size_t storedLength,
                              const HemisphereTexts& hemispheres, const GpsPosition& position,
                              UniqueBuffer<WCHAR>* expanded);

// Where the template holds an "@" that the expansion does not read as a code: an "@" at the end,
// before a character other than an axis letter or another "@", or an axis letter at the end or
// before a letter that is no code. True with *offset (characters from templateText) and *length
// (characters it spans) of the first; false when every "@" is a code or "@@".
bool FindMalformedCode(const WCHAR* templateText, size_t* offset, size_t* length);
