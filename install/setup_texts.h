#pragma once
// The setup program's lines, in the language of a set of texts: the window's by the user's
// interface language, the log's and the console's in English, so that an administrator's log
// reads the same on every PC.

#include <windows.h>

#include <string>

#include "common/ui_language.h"
#include "install/setup_steps.h"

// English, for the log and the console.
WindowTexts LogTexts(HINSTANCE instance);

// One step as it ended: "Copy Quoriel.dll to C:\...: done", or what failed and why.
std::wstring StepLine(const WindowTexts& texts, const StepResult& result);

// The system's message for error, in the texts' language where the system has it, with its
// number: "Access is denied. (error 5)". Win32 errors in decimal, other HRESULTs in hexadecimal.
std::wstring ErrorLine(const WindowTexts& texts, UINT id, const std::wstring& subject,
                       HRESULT error);
