#pragma once
// The check boxes of the formats switch: one per row of FORMATS that needs the switch, in the
// table's order, showing what the menu reads now and making the value it reads.

#include <windows.h>

#include <string>

#include "common/formats.h"

constexpr int CountSwitchedFormats() {
    int count = 0;
    for (const Format& format : FORMATS) {
        count += format.switched ? 1 : 0;
    }
    return count;
}
constexpr int SWITCHED_FORMAT_COUNT = CountSwitchedFormats();

struct FormatsChoice {
    bool on[SWITCHED_FORMAT_COUNT] = {};

    bool operator==(const FormatsChoice& other) const;
};

// The i-th row of FORMATS that needs the switch.
const Format& SwitchedFormat(int i);

// What the menu reads from the stored value now, row by row.
FormatsChoice MenuFormats();

// What stored (the value as text) names, by the menu's reading of a list.
FormatsChoice ListedFormats(const std::wstring& stored);

// The entries of stored that name no row of FORMATS and are not "*", joined by "; ": the boxes
// cannot show them, and the written value keeps them.
std::wstring UnknownEntries(const std::wstring& stored);

// The value to write: the chosen types, then the unknown entries kept.
std::wstring FormatsValue(const FormatsChoice& choice, const std::wstring& unknown);
