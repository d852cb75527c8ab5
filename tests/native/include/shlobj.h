#pragma once
// Stand-in: the invocation record, of which the readers use only the owner window.

#include <windows.h>

struct CMINVOKECOMMANDINFO {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCSTR lpVerb;
};

using HDROP = struct HDROP__*;
