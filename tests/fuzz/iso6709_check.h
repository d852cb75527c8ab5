#pragma once
// The ISO 6709 parser on any bytes as the text, both as a whole record and as one cut short,
// and the properties it must keep:
// - a position read is at most 90 degrees of latitude and 180 of longitude, in whole millionths
//   of a degree;
// - text read although it may be cut short is read as a whole text too, and with more text
//   behind it, to the same position;
// - nothing behind the first NUL changes the outcome;
// - the position written back as "+DD.DDDDDD+DDD.DDDDDD/", the signs from the hemispheres,
//   reads to the same position.

#include <cstddef>
#include <cstdint>
#include <string>

// The first property broken, or empty.
std::string CheckIso6709Text(const uint8_t* data, size_t size);
