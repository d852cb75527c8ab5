#pragma once
// The installation from the files beside the setup program: every step in order, each told to
// the sink as it ends, stopping at the first that fails.

#include <string>

#include "install/installation.h"
#include "install/setup_steps.h"

struct InstallChoice {
    FormatsChoice formats = FormatsChoice::NONE;
    // The window's box is ticked unless the user clears it: it must not replace a choice the
    // account already made. /formats, asked for explicitly, does.
    bool keepAccountsFormats = false;
    // The window always chooses; a quiet run without a formats option does not, and then what
    // an earlier installation chose for new accounts stays.
    bool formatsChosen = false;
    bool force = false;  // put this version over a newer one
};

// Where the user finds the command afterwards.
enum class MenuPlace { WINDOWS11_TOP, SHOW_MORE_OPTIONS, CLASSIC };

struct InstallOutcome {
    bool failed = false;
    bool restartNeeded = false;
    MenuPlace place = MenuPlace::CLASSIC;
};

InstallOutcome RunInstallation(const std::wstring& setupFolder, const InstallChoice& choice,
                               const StepSink& sink);
