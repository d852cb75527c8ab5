#include "settings/formats_boxes.h"

#include "common/formats_value.h"
#include "offer/content_type.h"
#include "offer/formats_switch.h"

namespace {

constexpr WCHAR SEPARATOR = L';';
constexpr const WCHAR* SPACES = L" ";
constexpr const WCHAR* EVERY_TYPE = L"*";
constexpr int NOT_SWITCHED = -1;

int SwitchedIndex(const Format& format) {
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        if (&SwitchedFormat(i) == &format) {
            return i;
        }
    }
    return NOT_SWITCHED;
}

constexpr int FORMAT_COUNT = static_cast<int>(sizeof(FORMATS) / sizeof(FORMATS[0]));

// The names the menu takes for each row of FORMATS on this system, read once per question.
struct TakenNames {
    RowNames of[FORMAT_COUNT];

    TakenNames() {
        for (int i = 0; i < FORMAT_COUNT; ++i) {
            of[i] = NamesTakenFor(FORMATS[i]);
        }
    }
    RowNames For(const Format& format) const { return of[&format - FORMATS]; }
};

// A box is ticked exactly when the list switches its row on for the menu: by the row's content
// type, or by a raw's extension where Windows gives that extension no content type.
FormatsChoice BoxesNamed(const WCHAR* list, size_t characters) {
    const TakenNames names;
    FormatsChoice choice;
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        const Format& format = SwitchedFormat(i);
        choice.on[i] = ListNamesRow(list, characters, format, names.For(format));
    }
    return choice;
}

bool NamesARow(const std::wstring& entry, const TakenNames& names) {
    for (const Format& format : FORMATS) {
        if (ListNamesRow(entry.c_str(), entry.size(), format, names.For(format))) {
            return true;
        }
    }
    return false;
}

std::wstring Trimmed(const std::wstring& entry) {
    const size_t first = entry.find_first_not_of(SPACES);
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    return entry.substr(first, entry.find_last_not_of(SPACES) - first + 1);
}

}  // namespace

bool FormatsChoice::operator==(const FormatsChoice& other) const {
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        if (on[i] != other.on[i]) {
            return false;
        }
    }
    return true;
}

const Format& SwitchedFormat(int i) {
    int seen = 0;
    for (const Format& format : FORMATS) {
        if (format.switched && seen++ == i) {
            return format;
        }
    }
    return FORMATS[0];
}

FormatsChoice MenuFormats() {
    WCHAR list[FORMATS_CHARACTERS];
    size_t characters = 0;
    if (!ReadFormatsSwitch(list, &characters)) {
        return FormatsChoice();  // the menu reads no switch: every box unticked
    }
    return BoxesNamed(list, characters);
}

FormatsChoice ListedFormats(const std::wstring& stored) {
    return BoxesNamed(stored.c_str(), stored.size());
}

std::wstring UnknownEntries(const std::wstring& stored) {
    const TakenNames names;
    std::wstring unknown;
    size_t start = 0;
    while (start <= stored.size()) {
        size_t end = stored.find(SEPARATOR, start);
        end = end == std::wstring::npos ? stored.size() : end;
        const std::wstring entry = Trimmed(stored.substr(start, end - start));
        if (!entry.empty() && entry != EVERY_TYPE && !NamesARow(entry, names)) {
            unknown += (unknown.empty() ? L"" : FORMATS_VALUE_SEPARATOR) + entry;
        }
        start = end + 1;
    }
    return unknown;
}

std::wstring FormatsValue(const FormatsChoice& choice, const std::wstring& unknown) {
    std::wstring value = JoinFormats([&](const Format& format) {
        const int box = SwitchedIndex(format);
        return box != NOT_SWITCHED && choice.on[box];
    });
    if (!unknown.empty()) {
        value += (value.empty() ? L"" : FORMATS_VALUE_SEPARATOR) + unknown;
    }
    return value;
}
