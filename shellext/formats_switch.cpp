#include "shellext/formats_switch.h"

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

// The entry [from, to) without the spaces around it is contentType, or "*".
bool EntryNames(const WCHAR* from, const WCHAR* to, const WCHAR* contentType) {
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
    return length == static_cast<size_t>(lstrlenW(contentType)) &&
           CompareStringOrdinal(from, static_cast<int>(length), contentType,
                                static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool FormatsListNames(const WCHAR* list, size_t characters, const WCHAR* contentType) {
    const WCHAR* entry = list;
    for (const WCHAR* p = list;; ++p) {
        const bool end = p == list + characters || *p == L'\0';
        if (end || *p == SEPARATOR) {
            if (EntryNames(entry, p, contentType)) {
                return true;
            }
            if (end) {
                return false;
            }
            entry = p + 1;
        }
    }
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

bool FormatSwitchedOn(const WCHAR* contentType, const WCHAR* alsoNamed) {
    WCHAR list[FORMATS_CHARACTERS];
    size_t characters = 0;
    if (!ReadFormatsSwitch(list, &characters)) {
        return false;
    }
    return FormatsListNames(list, characters, contentType) ||
           (alsoNamed != nullptr && FormatsListNames(list, characters, alsoNamed));
}
