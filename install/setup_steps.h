#pragma once
// What the setup program does, step by step, and what it tells of each: the window lists the
// steps in the user's language, the log and the console in English (install/setup_texts.h).

#include <windows.h>

#include <functional>
#include <string>

enum class SetupStep {
    CHECK_VERSION,  // subject: the installed, newer version
    COPY_MODULE,    // subject: the folder
    COPY_SETTINGS,  // subject: the folder
    KEEP_SETUP,     // subject: the folder
    KEEP_PACKAGE,   // subject: the folder
    REGISTER,
    OTHER_ACCOUNTS,
    TEST_CERTIFICATE,  // a test build's package: its throwaway certificate is to be trusted
    WINDOWS11_MENU,    // subject: why it could not be set up, when it could not
    WRITE_SETTINGS,
    SWITCH_PHOTO_FORMATS,
    SWITCH_ALL_FORMATS,
    SHORTCUT,  // subject: the shortcut's name
};

enum class StepState {
    DONE,
    DONE_AFTER_RESTART,  // a file in use was moved aside; it goes at the next start of Windows
    KEPT,                // nothing needed doing (settings the user already has)
    NOTED,               // not done, and the installation goes on without it
    FAILED,
    TOLD,  // nothing done: the step says something the user must know
};

struct StepResult {
    SetupStep step;
    StepState state;
    std::wstring subject;
    HRESULT error = S_OK;  // for FAILED
};

using StepSink = std::function<void(const StepResult&)>;
