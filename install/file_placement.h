#pragma once
// Puts an installed file in place even while the old one is in use. Explorer (or dllhost.exe,
// for Windows 11's menu) keeps the module loaded after any right-click, and the settings program
// may be open: such a file cannot be overwritten, but Windows lets it be renamed within its
// folder. The old file is moved aside under a name of its own and deleted at the next start of
// Windows; the processes holding it keep running on it, and new ones load the new file.

#include <windows.h>

#include <string>

struct FilePlacement {
    DWORD error = ERROR_SUCCESS;  // why the file could not be put in place
    bool movedAside = false;      // the old file waits for the next start of Windows
};

// Whether a file (not a folder) is at path.
bool IsFile(const std::wstring& path);

// Copies source to target, making target's folder when needed. Nothing is copied when both
// name the same file (the installed setup program run again).
FilePlacement PlaceFile(const std::wstring& source, const std::wstring& target);

// Deletes what earlier placements moved aside beside target and is no longer in use; a file
// still in use stays, its deletion already scheduled.
void RemoveMovedAside(const std::wstring& target);
