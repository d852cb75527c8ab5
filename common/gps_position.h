#pragma once

#include <cstdint>

// One degree in micro-arcseconds, the unit of every angle from reading to output.
constexpr uint64_t MICRO_ARCSECONDS_PER_DEGREE = 3600000000u;
constexpr uint64_t MICRO_ARCSECONDS_PER_MINUTE = 60000000u;
constexpr uint64_t MICRO_ARCSECONDS_PER_SECOND = 1000000u;

// The largest magnitudes a location record may give; the Exif reading has no such check.
constexpr uint64_t LATITUDE_LIMIT = 90 * MICRO_ARCSECONDS_PER_DEGREE;
constexpr uint64_t LONGITUDE_LIMIT = 180 * MICRO_ARCSECONDS_PER_DEGREE;

// A complete position: both magnitudes and both hemisphere references were found.
struct GpsPosition {
    uint64_t latitude;   // micro-arcseconds, no sign
    uint64_t longitude;  // micro-arcseconds, no sign
    bool north;          // latitude reference "N"; false for "S"
    bool east;           // longitude reference "E"; false for "W"
};
