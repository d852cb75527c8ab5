#pragma once
// A real drop list (CF_HDROP): the HGLOBAL that Explorer hands to a shell extension.

#include <windows.h>

#include <string>
#include <vector>

#include "common/owners.h"

// DROPFILES followed by the wide paths, each NUL-terminated, and one more NUL.
UniqueGlobal MakeDropList(const std::vector<std::wstring>& paths);
