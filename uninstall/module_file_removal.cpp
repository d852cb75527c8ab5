#include "uninstall/module_file_removal.h"

#include <windows.h>

#include "common/installed_module.h"
#include "common/messages.h"
#include "common/owners.h"

namespace {

constexpr const WCHAR* KERNEL = L"Kernel32.dll";
constexpr const char* MOVE_FILE = "MoveFileExW";

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
    if (!MakeInstalledModulePath(path)) {
        return false;
    }
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
