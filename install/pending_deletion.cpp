#include "install/pending_deletion.h"

#include <windows.h>

#include <vector>

#include "common/owners.h"

namespace {

constexpr const WCHAR* SESSION_MANAGER = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const WCHAR* PENDING_RENAMES = L"PendingFileRenameOperations";
// Entries name files as the kernel does.
constexpr const WCHAR* NT_PREFIX = L"\\??\\";
// Windows keeps the list short; a value beyond this is not read, and not changed.
constexpr DWORD MOST_BYTES = 1 << 20;

// The value's strings, each ended by a NUL, pairs of source and target; an empty target is a
// deletion, so empty strings are entries too and only the value's size ends the list.
std::vector<std::wstring> Entries(const std::vector<WCHAR>& data) {
    std::vector<std::wstring> entries;
    for (size_t i = 0; i < data.size();) {
        size_t end = i;
        while (end < data.size() && data[end] != L'\0') {
            ++end;
        }
        entries.emplace_back(data.data() + i, end - i);
        i = end + 1;
    }
    // The list's own closing NUL reads as one more empty string.
    if (entries.size() % 2 == 1 && entries.back().empty()) {
        entries.pop_back();
    }
    return entries;
}

std::vector<WCHAR> Joined(const std::vector<std::wstring>& entries) {
    std::vector<WCHAR> data;
    for (const std::wstring& entry : entries) {
        data.insert(data.end(), entry.begin(), entry.end());
        data.push_back(L'\0');
    }
    data.push_back(L'\0');
    return data;
}

// The operations, or the error that kept them from being read; none is no error.
LONG ReadOperations(HKEY key, std::vector<std::wstring>* entries) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, PENDING_RENAMES, nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (type != REG_MULTI_SZ || size > MOST_BYTES) {
        return ERROR_INVALID_DATA;
    }
    std::vector<WCHAR> data(size / sizeof(WCHAR));
    status = RegQueryValueExW(key, PENDING_RENAMES, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_SUCCESS) {
        data.resize(size / sizeof(WCHAR));
        *entries = Entries(data);
    }
    return status;
}

bool IsDeletionOf(const std::vector<std::wstring>& entries, size_t pair, const std::wstring& path) {
    return entries[pair + 1].empty() &&
           lstrcmpiW(entries[pair].c_str(), (NT_PREFIX + path).c_str()) == 0;
}

}  // namespace

LONG CancelPendingDeletion(const std::wstring& path) {
    UniqueKey key;
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, SESSION_MANAGER, 0,
                                      KEY_QUERY_VALUE | KEY_SET_VALUE, key.Put());
    if (opened != ERROR_SUCCESS) {
        return opened == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : opened;
    }
    std::vector<std::wstring> entries;
    const LONG read = ReadOperations(key.Get(), &entries);
    if (read != ERROR_SUCCESS) {
        return read;
    }
    std::vector<std::wstring> kept;
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (!IsDeletionOf(entries, i, path)) {
            kept.push_back(entries[i]);
            kept.push_back(entries[i + 1]);
        }
    }
    if (kept.size() + 1 >= entries.size()) {
        return ERROR_SUCCESS;  // nothing of path's: the value stays exactly as it is
    }
    if (kept.empty()) {
        return RegDeleteValueW(key.Get(), PENDING_RENAMES);
    }
    const std::vector<WCHAR> joined = Joined(kept);
    return RegSetValueExW(key.Get(), PENDING_RENAMES, 0, REG_MULTI_SZ,
                          reinterpret_cast<const BYTE*>(joined.data()),
                          static_cast<DWORD>(joined.size() * sizeof(WCHAR)));
}

bool DeletionPending(const std::wstring& path) {
    UniqueKey key;
    std::vector<std::wstring> entries;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SESSION_MANAGER, 0, KEY_QUERY_VALUE, key.Put()) !=
            ERROR_SUCCESS ||
        ReadOperations(key.Get(), &entries) != ERROR_SUCCESS) {
        return false;
    }
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (IsDeletionOf(entries, i, path)) {
            return true;
        }
    }
    return false;
}
