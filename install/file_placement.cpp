#include "install/file_placement.h"

#include "common/owners.h"
#include "install/installation.h"

namespace {

// "Quoriel.dll" moved aside becomes "Quoriel.dll.3.old".
constexpr const WCHAR* ASIDE_SUFFIX = L".old";
constexpr const WCHAR* ASIDE_PATTERN = L".*.old";
// Enough for years of upgrades between restarts; a bound all the same.
constexpr int MOST_ASIDE = 100;

bool InUse(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_USER_MAPPED_FILE;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    WCHAR fullA[MAX_PATH] = {};
    WCHAR fullB[MAX_PATH] = {};
    const DWORD lengthA = GetFullPathNameW(a.c_str(), MAX_PATH, fullA, nullptr);
    const DWORD lengthB = GetFullPathNameW(b.c_str(), MAX_PATH, fullB, nullptr);
    return lengthA != 0 && lengthA < MAX_PATH && lengthB != 0 && lengthB < MAX_PATH &&
           lstrcmpiW(fullA, fullB) == 0;
}

DWORD Copy(const std::wstring& source, const std::wstring& target) {
    return CopyFileW(source.c_str(), target.c_str(), FALSE) ? ERROR_SUCCESS : GetLastError();
}

// Renames target to a free name beside it and schedules that name's deletion.
DWORD MoveAside(const std::wstring& target, std::wstring* aside) {
    for (int number = 1; number <= MOST_ASIDE; ++number) {
        *aside = target + L"." + std::to_wstring(number) + ASIDE_SUFFIX;
        if (MoveFileExW(target.c_str(), aside->c_str(), 0)) {
            MoveFileExW(aside->c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
            return ERROR_SUCCESS;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            return error;
        }
    }
    return ERROR_FILE_EXISTS;
}

}  // namespace

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FilePlacement PlaceFile(const std::wstring& source, const std::wstring& target) {
    FilePlacement placement;
    if (SameFile(source, target)) {
        return placement;
    }
    const std::wstring folder = FolderOf(target);
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        placement.error = GetLastError();
        return placement;
    }
    placement.error = Copy(source, target);
    if (!InUse(placement.error)) {
        return placement;
    }
    std::wstring aside;
    if (MoveAside(target, &aside) != ERROR_SUCCESS) {
        return placement;  // the refusal of the copy says more than the rename's
    }
    placement.error = Copy(source, target);
    if (placement.error != ERROR_SUCCESS) {
        // The old file goes back, so that the installation stays as it was.
        MoveFileExW(aside.c_str(), target.c_str(), 0);
        return placement;
    }
    placement.movedAside = true;
    return placement;
}

void RemoveMovedAside(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    WIN32_FIND_DATAW found = {};
    UniqueFind search(FindFirstFileW((target + ASIDE_PATTERN).c_str(), &found));
    if (!search) {
        return;
    }
    do {
        DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search.Get(), &found));
}
