#include "tests/support/pending_renames.h"

#include <windows.h>

#include "common/owners.h"

namespace {

constexpr const wchar_t* SESSION_MANAGER = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* PENDING_RENAMES = L"PendingFileRenameOperations";

}  // namespace

std::vector<std::wstring> PendingRenames() {
    UniqueKey key;
    std::vector<std::wstring> entries;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SESSION_MANAGER, 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS) {
        return entries;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), PENDING_RENAMES, nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return entries;
    }
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
    RegQueryValueExW(key.Get(), PENDING_RENAMES, nullptr, nullptr,
                     reinterpret_cast<BYTE*>(data.data()), &size);
    // Strings each ended by a NUL; one more NUL ends the list.
    for (size_t i = 0; i < size / sizeof(wchar_t);) {
        std::wstring entry(data.data() + i);
        i += entry.size() + 1;
        entries.push_back(entry);
    }
    if (entries.size() % 2 == 1 && entries.back().empty()) {
        entries.pop_back();
    }
    return entries;
}

int DeletionsOf(const wchar_t* path) {
    const std::vector<std::wstring> entries = PendingRenames();
    const std::wstring wanted = std::wstring(L"\\??\\") + path;
    int count = 0;
    // Pairs of source and target; an empty target is a deletion.
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        count += lstrcmpiW(entries[i].c_str(), wanted.c_str()) == 0 && entries[i + 1].empty();
    }
    return count;
}

int ModuleDeletions() {
    return DeletionsOf(MODULE_PATH);
}
