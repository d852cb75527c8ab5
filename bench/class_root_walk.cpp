#include "bench/class_root_walk.h"

#include <cwchar>
#include <vector>

#include "common/owners.h"
#include "common/registry_names.h"

namespace {

constexpr const wchar_t* EXTRA_KEY_PREFIX = L".!qbench";
constexpr const wchar_t* EXTRA_KEY_FORMAT = L".!qbench%05u";
constexpr int EXTRA_KEY_ROOM = 32;

// Room for a key name of 255 characters and its NUL, as the module keeps.
constexpr DWORD NAME_ROOM = 256;
constexpr DWORD CONTENT_TYPE_ROOM = 64;

std::wstring ExtraKeyName(unsigned number) {
    wchar_t name[EXTRA_KEY_ROOM];
    swprintf(name, EXTRA_KEY_ROOM, EXTRA_KEY_FORMAT, number);
    return name;
}

}  // namespace

Placement PlaceOf(const std::wstring& name) {
    Placement placement;
    wchar_t found[NAME_ROOM];
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_ROOM;
        const LONG error = RegEnumKeyExW(HKEY_CLASSES_ROOT, index, found, &length, nullptr, nullptr,
                                         nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) {
            placement.count = index;
            return placement;
        }
        if (error == ERROR_SUCCESS && lstrcmpiW(found, name.c_str()) == 0) {
            placement.index = index;
        }
    }
}

bool ExtraKeys::GrowTo(unsigned total) {
    for (; made_ < total; ++made_) {
        UniqueKey key;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, ExtraKeyName(made_).c_str(), 0, nullptr, 0, KEY_READ,
                            nullptr, key.Put(), nullptr) != ERROR_SUCCESS) {
            return false;
        }
    }
    return true;
}

// Collects the names first: deleting while enumerating would shift the indexes.
void ExtraKeys::RemoveAll() {
    std::vector<std::wstring> names;
    wchar_t name[NAME_ROOM];
    const size_t prefixLength = wcslen(EXTRA_KEY_PREFIX);
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_ROOM;
        const LONG error = RegEnumKeyExW(HKEY_CLASSES_ROOT, index, name, &length, nullptr, nullptr,
                                         nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (error == ERROR_SUCCESS && wcsncmp(name, EXTRA_KEY_PREFIX, prefixLength) == 0) {
            names.push_back(name);
        }
    }
    for (const std::wstring& extra : names) {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, extra.c_str());
    }
}

bool BareWalk(const std::wstring& dotExtension) {
    UniqueKey classes;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, nullptr, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                      classes.Put()) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t name[NAME_ROOM];
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_ROOM;
        const LONG error =
            RegEnumKeyExW(classes.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) {
            return false;
        }
        if (error == ERROR_SUCCESS && name[0] == L'.' &&
            lstrcmpiW(name, dotExtension.c_str()) == 0) {
            break;
        }
    }
    UniqueKey key;
    if (RegOpenKeyExW(classes.Get(), name, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t type[CONTENT_TYPE_ROOM];
    DWORD size = sizeof(type);
    return RegQueryValueExW(key.Get(), CONTENT_TYPE_VALUE, nullptr, nullptr,
                            reinterpret_cast<BYTE*>(type), &size) == ERROR_SUCCESS;
}
