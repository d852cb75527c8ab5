#pragma once
// The position the settings window previews the template with: Tokyo Station, 35.681236 N,
// 139.767125 E. The other previews take the same magnitudes in the southern and the western
// hemisphere.

#include "common/gps_position.h"

constexpr uint64_t MICRO_ARCSECONDS_PER_MILLIONTH_DEGREE = MICRO_ARCSECONDS_PER_DEGREE / 1000000;
constexpr uint64_t SAMPLE_LATITUDE = 35681236 * MICRO_ARCSECONDS_PER_MILLIONTH_DEGREE;
constexpr uint64_t SAMPLE_LONGITUDE = 139767125 * MICRO_ARCSECONDS_PER_MILLIONTH_DEGREE;

constexpr GpsPosition SAMPLE_POSITION = {SAMPLE_LATITUDE, SAMPLE_LONGITUDE, true, true};
constexpr GpsPosition SAMPLE_SOUTH = {SAMPLE_LATITUDE, SAMPLE_LONGITUDE, false, true};
constexpr GpsPosition SAMPLE_WEST = {SAMPLE_LATITUDE, SAMPLE_LONGITUDE, true, false};
