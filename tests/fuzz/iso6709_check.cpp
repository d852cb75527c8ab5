#include "tests/fuzz/iso6709_check.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "position/movie/iso6709.h"

namespace {

constexpr uint64_t MICRO_ARCSECONDS_PER_MILLIONTH = MICRO_ARCSECONDS_PER_DEGREE / 1000000;
// A digit lengthens the number that the parser would close at the end of the text.
constexpr char MORE_TEXT = '5';
// "+DD.DDDDDD+DDD.DDDDDD/" and its NUL.
constexpr size_t WRITTEN_SIZE = 23;

struct Parse {
    bool read = false;
    GpsPosition position{};
};

Parse ParseText(const char* text, size_t length, bool whole) {
    Parse parse;
    parse.read = ParseIso6709(text, length, whole, &parse.position);
    return parse;
}

bool Same(const Parse& a, const Parse& b) {
    return a.read == b.read && (!a.read || (a.position.latitude == b.position.latitude &&
                                            a.position.longitude == b.position.longitude &&
                                            a.position.north == b.position.north &&
                                            a.position.east == b.position.east));
}

std::string Describe(const char* what, const Parse& parse) {
    const GpsPosition& p = parse.position;
    if (!parse.read) {
        return std::string(what) + " (no position as a whole)";
    }
    return std::string(what) + " (" + (p.north ? "N " : "S ") + std::to_string(p.latitude) +
           (p.east ? " E " : " W ") + std::to_string(p.longitude) + ")";
}

// The read position in range and whole millionths, and back through its decimal text.
std::string CheckPosition(const Parse& parse) {
    const GpsPosition& p = parse.position;
    if (p.latitude > LATITUDE_LIMIT || p.longitude > LONGITUDE_LIMIT) {
        return Describe("an angle out of range", parse);
    }
    if (p.latitude % MICRO_ARCSECONDS_PER_MILLIONTH != 0 ||
        p.longitude % MICRO_ARCSECONDS_PER_MILLIONTH != 0) {
        return Describe("an angle in parts of a millionth of a degree", parse);
    }
    // Padded as most writers pad, and with as few integer digits as each number needs.
    for (const char* format : {"%c%02" PRIu64 ".%06" PRIu64 "%c%03" PRIu64 ".%06" PRIu64 "/",
                               "%c%" PRIu64 ".%06" PRIu64 "%c%" PRIu64 ".%06" PRIu64 "/"}) {
        char text[WRITTEN_SIZE];
        std::snprintf(text, sizeof text, format, p.north ? '+' : '-',
                      p.latitude / MICRO_ARCSECONDS_PER_DEGREE,
                      p.latitude % MICRO_ARCSECONDS_PER_DEGREE / MICRO_ARCSECONDS_PER_MILLIONTH,
                      p.east ? '+' : '-', p.longitude / MICRO_ARCSECONDS_PER_DEGREE,
                      p.longitude % MICRO_ARCSECONDS_PER_DEGREE / MICRO_ARCSECONDS_PER_MILLIONTH);
        for (const bool whole : {true, false}) {
            if (!Same(ParseText(text, std::strlen(text), whole), parse)) {
                return Describe(("another reading of " + std::string(text)).c_str(), parse);
            }
        }
    }
    return {};
}

}  // namespace

std::string CheckIso6709Text(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const Parse whole = ParseText(text, size, true);
    const Parse cut = ParseText(text, size, false);
    if (cut.read) {
        if (!Same(cut, whole)) {
            return Describe("read when cut short but not as a whole", whole);
        }
        std::vector<char> longer(text, text + size);
        longer.push_back(MORE_TEXT);
        if (!Same(ParseText(longer.data(), longer.size(), false), cut)) {
            return Describe("read when cut short, otherwise with more text behind", cut);
        }
    }
    const size_t used = static_cast<size_t>(std::find(text, text + size, '\0') - text);
    if (used < size) {
        std::vector<char> filled(text, text + size);
        std::memset(filled.data() + used + 1, MORE_TEXT, size - used - 1);
        if (!Same(ParseText(filled.data(), size, true), whole) ||
            !Same(ParseText(filled.data(), size, false), cut)) {
            return Describe("another outcome with other bytes behind the NUL", whole);
        }
    }
    return whole.read ? CheckPosition(whole) : std::string{};
}
