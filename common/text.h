#pragma once

#include <windows.h>

#include <cstddef>

// The characters before the first NUL among the first `characters` of text; never reads past
// them, so it is safe on registry data that may lack its NUL.
inline size_t LengthBeforeNul(const WCHAR* text, size_t characters) {
    size_t length = 0;
    while (length < characters && text[length] != L'\0') {
        ++length;
    }
    return length;
}
