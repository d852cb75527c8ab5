#pragma once
// ISO 6709 text in decimal degrees, as video location records carry it: a signed latitude of
// one or two integer digits, a signed longitude of one to three, each with an optional fraction,
// then an optional signed altitude, an optional "CRS" name, and '/'. "+35.6586+139.7454+040.000/",
// or with as few integer digits as each number needs, "+51.5932-0.2431/".

#include <cstddef>

#include "common/gps_position.h"

// The position of text (length bytes, or up to its first NUL). Fraction digits beyond the sixth
// are dropped; the signs give the hemispheres. whole says the record's text is all there: when
// it is not, the text's end cannot close a number. False for anything else, and for a latitude
// beyond 90 or a longitude beyond 180 degrees as written, before any digit is dropped.
bool ParseIso6709(const char* text, size_t length, bool whole, GpsPosition* position);
