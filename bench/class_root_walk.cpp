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

// The names of HKEY_CLASSES_ROOT's subkeys in enumeration order, an empty one where a name
// cannot be read. Collected first, so that deleting some does not shift the indexes.
std::vector<std::wstring> ClassRootNames() {
    std::vector<std::wstring> names;
    wchar_t name[NAME_ROOM];
    for (DWORD index = 0;; ++index) {
        DWORD length = NAME_ROOM;
        const LONG error = RegEnumKeyExW(HKEY_CLASSES_ROOT, index, name, &length, nullptr, nullptr,
                                         nullptr, nullptr);
        if (error == ERROR_NO_MORE_ITEMS) {
            return names;
        }
        names.emplace_back(error == ERROR_SUCCESS ? name : L"");
    }
}

}  // namespace

Placement PlaceOf(const std::wstring& name) {
    const std::vector<std::wstring> names = ClassRootNames();
    Placement placement;
    placement.count = static_cast<DWORD>(names.size());
    for (DWORD index = 0; index < placement.count; ++index) {
        if (lstrcmpiW(names[index].c_str(), name.c_str()) == 0) {
            placement.index = index;
        }
    }
    return placement;
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

void ExtraKeys::RemoveAll() {
    const size_t prefixLength = wcslen(EXTRA_KEY_PREFIX);
    for (const std::wstring& name : ClassRootNames()) {
        if (name.compare(0, prefixLength, EXTRA_KEY_PREFIX) == 0) {
            RegDeleteKeyW(HKEY_CLASSES_ROOT, name.c_str());
        }
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
