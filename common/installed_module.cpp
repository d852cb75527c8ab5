#include "common/installed_module.h"

#include "common/registry_names.h"

namespace {

// The system directory with its NUL, so that the whole path fits MAX_PATH.
constexpr UINT SYSTEM_DIRECTORY_CHARACTERS = 239;

}  // namespace

bool MakeInstalledModulePath(WCHAR (&path)[MAX_PATH]) {
    const UINT length = GetSystemDirectoryW(path, SYSTEM_DIRECTORY_CHARACTERS);
    if (length == 0 || length >= SYSTEM_DIRECTORY_CHARACTERS) {
        return false;
    }
    lstrcpynW(path + length, MODULE_IN_SYSTEM, MAX_PATH - length);
    return true;
}
