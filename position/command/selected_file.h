#pragma once
// The one selected file: its name, as the drop list holds it, and its opening for reading.

#include <windows.h>
#include <shellapi.h>

#include "common/owners.h"

// The first file name of drop, NUL-terminated, in a buffer of its own; null when no buffer
// can be had.
UniqueBuffer<WCHAR> FirstFileName(HDROP drop);

// Opens the file at path for reading, others may read it too: S_OK, or the open's error as
// HRESULT.
HRESULT OpenSelectedFile(const WCHAR* path, UniqueFile* file);
