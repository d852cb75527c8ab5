#pragma once
// A picture of a program's window for the guides, taken inside the program's own process by the
// capture hook (tests/settings/window_capture.h), into the BMP file that the program's
// environment names.

#include <windows.h>

// Loads the capture DLL at dllPath into the dialog's thread and has it write the window; false
// when the hook could not be set.
bool CaptureWindow(HWND dialog, const wchar_t* dllPath);
