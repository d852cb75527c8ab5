#include "uninstall/profile_walk.h"

#include <windows.h>

#include "common/owners.h"
#include "common/text.h"
#include "uninstall/settings_removal.h"

namespace {

constexpr const WCHAR* PROFILE_LIST =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr const WCHAR* PROFILE_IMAGE_PATH = L"ProfileImagePath";
constexpr const WCHAR* HIVE_FILE = L"\\ntuser.dat";

// The profile list's subkey names (SIDs) are read into a buffer that grows by this much
// whenever a name does not fit; no registry key name comes near the limit.
constexpr SIZE_T NAME_BUFFER_STEP = 256;
constexpr SIZE_T NAME_BUFFER_LIMIT = 64 * 1024;

// The stored profile folder: 260 characters with its NUL, one more for data that lacks it.
constexpr DWORD STORED_PATH_BYTES = 520;
constexpr size_t STORED_PATH_CHARACTERS = STORED_PATH_BYTES / sizeof(WCHAR) + 1;
// The expanded folder with its NUL, then "\ntuser.dat": at most 257 characters and a NUL.
constexpr DWORD EXPANDED_PATH_CHARACTERS = 247;
constexpr size_t HIVE_FILE_CHARACTERS = 11;
constexpr size_t HIVE_PATH_CHARACTERS = EXPANDED_PATH_CHARACTERS + HIVE_FILE_CHARACTERS;

enum class HiveAccess { OPENED, SKIPPED, FAILED };

// The profile's hive file from its stored folder.
HiveAccess HivePath(HKEY profileList, const WCHAR* sid, WCHAR (&hivePath)[HIVE_PATH_CHARACTERS]) {
    UniqueKey profile;
    if (RegOpenKeyExW(profileList, sid, 0, KEY_QUERY_VALUE, profile.Put()) != ERROR_SUCCESS) {
        return HiveAccess::FAILED;
    }
    WCHAR stored[STORED_PATH_CHARACTERS] = {};
    DWORD size = STORED_PATH_BYTES;
    const LONG error = RegQueryValueExW(profile.Get(), PROFILE_IMAGE_PATH, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(stored), &size);
    if (error == ERROR_FILE_NOT_FOUND) {
        return HiveAccess::SKIPPED;
    }
    if (error != ERROR_SUCCESS) {
        return HiveAccess::FAILED;
    }
    stored[LengthBeforeNul(stored, size / sizeof(WCHAR))] = L'\0';
    const DWORD expanded = ExpandEnvironmentStringsW(stored, hivePath, EXPANDED_PATH_CHARACTERS);
    if (expanded == 0 || expanded > EXPANDED_PATH_CHARACTERS) {
        return HiveAccess::FAILED;
    }
    lstrcpynW(hivePath + expanded - 1, HIVE_FILE, HIVE_FILE_CHARACTERS + 1);
    return HiveAccess::OPENED;
}

// Loads the hive of a profile whose user is not logged on and opens it as *root.
HiveAccess LoadHive(HKEY profileList, const WCHAR* sid, LoadedHive* hive, UniqueKey* root) {
    WCHAR hivePath[HIVE_PATH_CHARACTERS] = {};
    const HiveAccess path = HivePath(profileList, sid, hivePath);
    if (path != HiveAccess::OPENED) {
        return path;
    }
    const LONG error = RegLoadKeyW(HKEY_USERS, sid, hivePath);
    if (error == ERROR_PATH_NOT_FOUND) {
        return HiveAccess::SKIPPED;  // the profile folder is gone
    }
    if (error != ERROR_SUCCESS) {
        return HiveAccess::FAILED;
    }
    hive->Reset(sid);
    if (RegOpenKeyExW(HKEY_USERS, sid, 0, KEY_QUERY_VALUE, root->Put()) != ERROR_SUCCESS) {
        hive->Reset();
        return HiveAccess::FAILED;
    }
    return HiveAccess::OPENED;
}

// A logged-on user's hive is used where it is; another is loaded for the removal only.
void HandleProfile(HKEY profileList, const WCHAR* sid, CleanupOutcome* outcome) {
    LoadedHive hive;  // declared first: unloaded after the root is closed
    UniqueKey root;
    const LONG error = RegOpenKeyExW(HKEY_USERS, sid, 0, KEY_QUERY_VALUE, root.Put());
    if (error == ERROR_FILE_NOT_FOUND) {
        const HiveAccess access = LoadHive(profileList, sid, &hive, &root);
        if (access != HiveAccess::OPENED) {
            outcome->failed |= access == HiveAccess::FAILED;
            return;
        }
    } else if (error != ERROR_SUCCESS) {
        outcome->failed = true;
        return;
    }
    if (!RemoveSettings(root.Get())) {
        outcome->failed = true;
    }
}

// Makes room for one more step of name; false (and the old buffer kept) when it cannot.
bool GrowNameBuffer(UniqueGlobal* names, SIZE_T* bytes) {
    if (*bytes >= NAME_BUFFER_LIMIT) {
        return false;
    }
    const HGLOBAL grown = GlobalReAlloc(names->Get(), *bytes + NAME_BUFFER_STEP, GMEM_MOVEABLE);
    if (grown == nullptr) {
        return false;
    }
    names->Release();
    names->Reset(grown);
    *bytes += NAME_BUFFER_STEP;
    return true;
}

}  // namespace

void WalkProfiles(CleanupOutcome* outcome) {
    UniqueKey profileList;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PROFILE_LIST, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE,
                      profileList.Put()) != ERROR_SUCCESS) {
        outcome->walkNotRun = true;
        return;
    }
    SIZE_T bytes = NAME_BUFFER_STEP;
    UniqueGlobal names(GlobalAlloc(GMEM_FIXED, bytes));
    if (!names) {
        outcome->walkNotRun = true;
        return;
    }
    for (DWORD index = 0;;) {
        // GMEM_FIXED memory: the handle is the pointer.
        auto* name = static_cast<WCHAR*>(names.Get());
        DWORD characters = static_cast<DWORD>(bytes / sizeof(WCHAR));
        const LONG error = RegEnumKeyExW(profileList.Get(), index, name, &characters, nullptr,
                                         nullptr, nullptr, nullptr);
        if (error == ERROR_MORE_DATA) {
            if (!GrowNameBuffer(&names, &bytes)) {
                outcome->failed = true;
                ++index;
            }
            continue;
        }
        if (error == ERROR_NO_MORE_ITEMS) {
            return;
        }
        if (error != ERROR_SUCCESS) {
            outcome->failed = true;
            return;
        }
        HandleProfile(profileList.Get(), name, outcome);
        ++index;
    }
}
