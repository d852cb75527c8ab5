#pragma once
// A removal schedules the installed files' deletion at the next start of Windows (they are in
// use as a rule). An installation before that start puts new files under the same names, which
// the start must then leave alone.

#include <string>

#include <windows.h>

// Takes the deletions of path out of the operations Windows carries out at its next start
// (Session Manager's PendingFileRenameOperations); renames and other files' entries stay.
// ERROR_SUCCESS when none is left, or the error that left them.
LONG CancelPendingDeletion(const std::wstring& path);

// Whether Windows is to delete path at its next start.
bool DeletionPending(const std::wstring& path);
