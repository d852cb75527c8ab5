#pragma once
// The name of the one selected file, as the drop list holds it.

#include <windows.h>
#include <shellapi.h>

#include "common/owners.h"

// The first file name of drop, NUL-terminated, in a buffer of its own; null when no buffer
// can be had.
UniqueBuffer<WCHAR> FirstFileName(HDROP drop);
