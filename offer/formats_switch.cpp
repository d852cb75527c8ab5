#include "offer/formats_switch.h"

#include "common/owners.h"
#include "common/registry_names.h"
#include "common/text.h"

namespace {

constexpr WCHAR SEPARATOR = L';';
constexpr WCHAR SPACE = L' ';
constexpr WCHAR EVERY_TYPE = L'*';

bool IsSpace(WCHAR c) {
    return c == SPACE;
}

// The entry [from, to) without the spaces around it is name, or "*".
bool EntryNames(const WCHAR* from, const WCHAR* to, const WCHAR* name) {
    while (from < to && IsSpace(*from)) {
        ++from;
    }
    while (to > from && IsSpace(to[-1])) {
        --to;
    }
    const size_t length = static_cast<size_t>(to - from);
    if (length == 1 && *from == EVERY_TYPE) {
        return true;
    }
    return length == static_cast<size_t>(lstrlenW(name)) &&
           CompareStringOrdinal(from, static_cast<int>(length), name, static_cast<int>(length),
                                TRUE) == CSTR_EQUAL;
}

// Whether list (characters, NUL not needed) has an entry that is name, or "*".
bool ListNames(const WCHAR* list, size_t characters, const WCHAR* name) {
    const WCHAR* entry = list;
    for (const WCHAR* p = list;; ++p) {
        const bool end = p == list + characters || *p == L'\0';
        if (end || *p == SEPARATOR) {
            if (EntryNames(entry, p, name)) {
                return true;
            }
            if (end) {
                return false;
            }
            entry = p + 1;
        }
    }
}

}  // namespace

bool ListNamesRow(const WCHAR* list, size_t characters, const Format& row, RowNames names) {
    if (ListNames(list, characters, row.contentType)) {
        return true;
    }
    return names == RowNames::CONTENT_TYPE_OR_EXTENSION && row.extension != nullptr &&
           ListNames(list, characters, row.extension);
}

bool ReadFormatsSwitch(WCHAR (&list)[FORMATS_CHARACTERS], size_t* characters) {
    UniqueKey settings;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, settings.Put()) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = REG_NONE;
    DWORD size = sizeof(list);
    if (RegQueryValueExW(settings.Get(), SETTING_FORMATS, nullptr, &type,
                         reinterpret_cast<BYTE*>(list), &size) != ERROR_SUCCESS ||
        type != REG_SZ || size % sizeof(WCHAR) != 0) {
        return false;
    }
    *characters = size / sizeof(WCHAR);
    // Without a terminator the value was not written as a string.
    return LengthBeforeNul(list, *characters) != *characters;
}

bool RowSwitchedOn(const Format& row, RowNames names) {
    WCHAR list[FORMATS_CHARACTERS];
    size_t characters = 0;
    return ReadFormatsSwitch(list, &characters) && ListNamesRow(list, characters, row, names);
}
