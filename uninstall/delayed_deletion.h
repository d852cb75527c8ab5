#pragma once
// Deletion of an installed file at the next Windows start, for files in use while Uninstall
// runs (Session Manager's PendingFileRenameOperations).

#include <windows.h>

// True when the deletion of path is scheduled.
bool ScheduleDeletion(const WCHAR* path);
