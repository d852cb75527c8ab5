#pragma once
// What an installation's end says, in the window and in the log: whether Quoriel is installed,
// where the user finds the command (what Windows 11 shows), whether a restart finishes the job,
// where the settings are; and the exit code that goes with it.

#include <string>
#include <vector>

#include "common/ui_language.h"
#include "install/installation_run.h"
#include "install/setup_log.h"

struct OutcomeText {
    std::wstring headline;
    std::wstring details;  // lines ended by "\r\n"
    std::vector<std::wstring> lines;
};

OutcomeText OutcomeLines(const WindowTexts& texts, const InstallOutcome& outcome);

// The headline and each line of the details.
void LogOutcome(SetupLog& log, const WindowTexts& texts, const InstallOutcome& outcome);

int ExitCodeOf(const InstallOutcome& outcome);
