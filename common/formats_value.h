#pragma once
// The "Formats" value as it is written: the chosen rows of FORMATS that need the switch, in the
// table's order, joined by "; ". The installer's /formats and the settings window write it.

#include <string>

#include "common/formats.h"

constexpr const WCHAR* FORMATS_VALUE_SEPARATOR = L"; ";

// The value naming each switched format for which chosen(format) holds.
template <typename Chosen>
std::wstring JoinFormats(Chosen chosen) {
    std::wstring value;
    for (const Format& format : FORMATS) {
        if (!format.switched || !chosen(format)) {
            continue;
        }
        if (!value.empty()) {
            value += FORMATS_VALUE_SEPARATOR;
        }
        value += format.contentType;
    }
    return value;
}
