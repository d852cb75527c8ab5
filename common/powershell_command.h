#pragma once
// Windows PowerShell run with one command and waited for: the installer registers the Windows 11
// package with it and Uninstall removes that package. Started by its absolute path in the system
// directory, never found through PATH, with no profile, no prompts and no window.

#include <windows.h>

#include <string>

struct PowerShellResult {
    DWORD startError = ERROR_SUCCESS;  // why it could not be run to its end, or 0
    DWORD exitCode = 0;                // its exit code, when it ran

    bool Succeeded() const { return startError == ERROR_SUCCESS && exitCode == 0; }
};

// text as a single-quoted PowerShell string: each quote character doubled, the typographic
// single quotes too, which PowerShell also takes for quotes.
std::wstring PowerShellLiteral(const std::wstring& text);

// Runs command and waits for it, five minutes at most (then it is ended: ERROR_TIMEOUT). A
// command holding a double quote is not run (ERROR_INVALID_PARAMETER): it travels inside double
// quotes on the command line.
PowerShellResult RunPowerShell(const std::wstring& command);
