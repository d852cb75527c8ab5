#include "uninstall/delayed_deletion.h"

#include "common/owners.h"

namespace {

constexpr const WCHAR* KERNEL = L"Kernel32.dll";
constexpr const char* MOVE_FILE = "MoveFileExW";

using MoveFileExFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);

}  // namespace

bool ScheduleDeletion(const WCHAR* path) {
    UniqueModule kernel(LoadLibraryW(KERNEL));
    if (!kernel) {
        return false;
    }
    const auto moveFileEx = reinterpret_cast<MoveFileExFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel.Get(), MOVE_FILE)));
    if (moveFileEx == nullptr) {
        return false;
    }
    return moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}
