#include "uninstall/module_file_removal.h"

#include <windows.h>

#include "common/messages.h"
#include "common/owners.h"
#include "common/registry_names.h"

namespace {

constexpr const WCHAR* KERNEL = L"Kernel32.dll";
constexpr const char* MOVE_FILE = "MoveFileExW";
// The system directory with its NUL, so that the whole path fits MAX_PATH.
constexpr UINT SYSTEM_DIRECTORY_CHARACTERS = 239;

using MoveFileExFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);

// The module file is in use while this runs, so its deletion is only scheduled.
bool ScheduleModuleDeletion() {
    UniqueModule kernel(LoadLibraryW(KERNEL));
    if (!kernel) {
        return false;
    }
    const auto moveFileEx = reinterpret_cast<MoveFileExFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel.Get(), MOVE_FILE)));
    if (moveFileEx == nullptr) {
        return false;
    }
    WCHAR path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, SYSTEM_DIRECTORY_CHARACTERS);
    if (length == 0 || length >= SYSTEM_DIRECTORY_CHARACTERS) {
        return false;
    }
    lstrcpynW(path + length, MODULE_IN_SYSTEM, MAX_PATH - length);
    return moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

}  // namespace

void RemoveModuleFile(bool registryComplete) {
    if (!ScheduleModuleDeletion()) {
        MessageBoxW(nullptr, TEXT_FILES_LEFT, CAPTION_UNINSTALL, STYLE_WARNING);
    } else if (registryComplete) {
        MessageBoxW(nullptr, TEXT_UNINSTALLED, CAPTION_UNINSTALL, STYLE_INFORMATION);
    }
}
