#pragma once
// The capture hook of the screenshots: a DLL that a WH_CALLWNDPROC hook loads into the settings
// program's process, where the window's pixels are (Wine 8 keeps them in the window's own
// process: another process copies black from its device context, and PrintWindow gives a blank
// image). Sending the capture message to the window writes it to the BMP file named by the
// variable in the program's environment.

#include <windows.h>

constexpr const wchar_t* CAPTURE_MESSAGE = L"QuorielCaptureWindow";
constexpr const wchar_t* CAPTURE_PATH_VARIABLE = L"QUORIEL_CAPTURE";
constexpr const char* CAPTURE_HOOK_EXPORT = "CaptureHook";
