// ISO 6709 decimal degrees read character by character from a bounded text; nothing is read
// at or past its end, and every number is bounded by its most integer digits.
#include "position/movie/iso6709.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char PLUS = '+';
constexpr char MINUS = '-';
constexpr char DECIMAL_POINT = '.';
constexpr char TERMINATOR = '/';
constexpr char CRS[] = "CRS";  // and a name, up to the terminator

// The most integer digits; writers that pad give exactly these, others as few as the number
// needs, the sign before the next number ending it either way.
constexpr unsigned LATITUDE_DIGITS = 2;
constexpr unsigned LONGITUDE_DIGITS = 3;

// A millionth of a degree is 3600 micro-arcseconds: six fraction digits convert exactly.
constexpr unsigned FRACTION_DIGITS = 6;
constexpr uint64_t MICRO_ARCSECONDS_PER_MILLIONTH = MICRO_ARCSECONDS_PER_DEGREE / 1000000;

struct TextCursor {
    const char* next;
    const char* end;

    bool AtEnd() const { return next == end; }
    bool At(char c) const { return next != end && *next == c; }
    bool AtDigit() const { return next != end && *next >= '0' && *next <= '9'; }
    unsigned TakeDigit() { return static_cast<unsigned>(*next++ - '0'); }
};

// A sign with a digit behind it; its direction into *positive.
bool ReadSign(TextCursor* text, bool* positive) {
    if (!text->At(PLUS) && !text->At(MINUS)) {
        return false;
    }
    *positive = *text->next++ == PLUS;
    return text->AtDigit();
}

// The fraction behind a decimal point, in millionths: the first six digits, the rest dropped,
// *beyond telling whether any of those was not zero. A point must be followed by a digit.
bool ReadFraction(TextCursor* text, uint64_t* millionths, bool* beyond) {
    *millionths = 0;
    *beyond = false;
    if (!text->At(DECIMAL_POINT)) {
        return true;
    }
    ++text->next;
    if (!text->AtDigit()) {
        return false;
    }
    unsigned taken = 0;
    while (text->AtDigit()) {
        const unsigned digit = text->TakeDigit();
        if (taken < FRACTION_DIGITS) {
            *millionths = *millionths * 10 + digit;
            ++taken;
        } else {
            *beyond = *beyond || digit != 0;
        }
    }
    for (; taken < FRACTION_DIGITS; ++taken) {
        *millionths *= 10;
    }
    return true;
}

// A signed number of one to digits integer digits and an optional fraction, as an angle. The
// limit holds for the number as written: 90.0000001 is beyond 90 though it reads as 90.
bool ReadAngle(TextCursor* text, unsigned digits, uint64_t limit, uint64_t* angle, bool* positive) {
    if (!ReadSign(text, positive)) {
        return false;
    }
    uint64_t degrees = 0;
    for (unsigned i = 0; i < digits && text->AtDigit(); ++i) {
        degrees = degrees * 10 + text->TakeDigit();
    }
    uint64_t millionths = 0;
    bool beyond = false;
    if (text->AtDigit() || !ReadFraction(text, &millionths, &beyond)) {
        return false;  // more integer digits: a sexagesimal form, not decimal degrees
    }
    *angle = degrees * MICRO_ARCSECONDS_PER_DEGREE + millionths * MICRO_ARCSECONDS_PER_MILLIONTH;
    return *angle < limit || (*angle == limit && !beyond);
}

// Whether the text goes on with the name of a coordinate reference system.
bool AtCrs(const TextCursor& text) {
    const size_t left = static_cast<size_t>(text.end - text.next);
    return left >= sizeof CRS - 1 && std::memcmp(text.next, CRS, sizeof CRS - 1) == 0;
}

// What may follow the longitude: a signed altitude of any number of digits, then a CRS name or
// the terminator. A text that is all there may also just end.
bool ReadTail(TextCursor* text, bool whole) {
    bool up = false;
    if (text->At(PLUS) || text->At(MINUS)) {
        if (!ReadSign(text, &up)) {
            return false;
        }
        while (text->AtDigit()) {
            text->TakeDigit();
        }
        uint64_t ignored = 0;
        bool beyond = false;
        if (!ReadFraction(text, &ignored, &beyond)) {
            return false;
        }
    }
    return text->At(TERMINATOR) || AtCrs(*text) || (whole && text->AtEnd());
}

}  // namespace

bool ParseIso6709(const char* text, size_t length, bool whole, GpsPosition* position) {
    size_t used = 0;
    while (used < length && text[used] != '\0') {
        ++used;
    }
    TextCursor cursor{text, text + used};
    GpsPosition read{};
    if (!ReadAngle(&cursor, LATITUDE_DIGITS, LATITUDE_LIMIT, &read.latitude, &read.north) ||
        !ReadAngle(&cursor, LONGITUDE_DIGITS, LONGITUDE_LIMIT, &read.longitude, &read.east) ||
        !ReadTail(&cursor, whole || used < length)) {
        return false;
    }
    *position = read;
    return true;
}
