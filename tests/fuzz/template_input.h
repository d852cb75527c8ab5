#pragma once
// The template expansion's fuzz input, taken as the settings loader would hand it over.
//
// Bytes 0-7 latitude and 8-15 longitude (little-endian micro-arcseconds); byte 16 flags: 1 north,
// 2 east, 4 hemisphere lengths longer than their texts; bytes 17-20 how much longer, for north,
// south, east and west (the byte + 1); missing header bytes count as 0. The rest is UTF-16LE
// text: the template and the four hemisphere texts, separated by U+FFFF (a fifth separator and
// what follows belong to the west text). Any field may hold NULs.

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/gps_position.h"
#include "launch/template_expansion.h"

constexpr size_t HEMISPHERE_COUNT = 4;

struct TemplateCase {
    // Each text exactly as large as the loader leaves it, NUL-terminated, so that
    // AddressSanitizer sees any read past it.
    std::vector<WCHAR> stored;
    size_t start = 0;         // the template's first character that is not a space
    size_t storedLength = 0;  // characters before the first NUL, leading spaces included
    std::array<std::vector<WCHAR>, HEMISPHERE_COUNT> hemisphereTexts;
    std::array<size_t, HEMISPHERE_COUNT> hemisphereLengths{};
    GpsPosition position{};

    const WCHAR* TemplateText() const { return stored.data() + start; }
    HemisphereTexts Hemispheres() const;
};

TemplateCase DecodeTemplateCase(const uint8_t* data, size_t size);

// The input that decodes to these texts and position; longerBy (1 to 256) applies to every
// hemisphere length when it is not 0.
std::vector<uint8_t> EncodeTemplateCase(const std::wstring& storedTemplate,
                                        const std::array<std::wstring, HEMISPHERE_COUNT>& texts,
                                        const GpsPosition& position, unsigned longerBy = 0);

// Decodes the input and runs CheckExpansion on it: empty, or what failed.
std::string CheckTemplateInput(const uint8_t* data, size_t size);
