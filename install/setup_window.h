#pragma once
// The setup program's window: a first page that says what is installed and where, with the
// formats box, Install and Cancel; then the result page with each step, where the command is,
// whether a restart finishes the job, "Open Quoriel Settings" and Close.

#include <windows.h>

#include <string>

#include "common/ui_language.h"
#include "install/setup_log.h"

// The exit code: cancelled, or the installation's (install/exit_codes.h).
int RunSetupWindow(const WindowTexts& texts, const std::wstring& setupFolder, bool force,
                   SetupLog& log);
