#pragma once
// Wine has no PowerShell (its powershell.exe is a stub that does nothing and reports success).
// While this object lives, the launch recorder stands at PowerShell's path in the prefix and
// records the command line it is started with, ending with the exit code the test chose; or,
// for "PowerShell missing", nothing stands there. Wine's stub is put back afterwards.

#include <windows.h>

#include <optional>
#include <string>

#include "tests/support/launch_record.h"

constexpr const wchar_t* POWERSHELL_PATH =
    L"C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe";
// How a command line that runs a PowerShell command begins and ends.
constexpr const wchar_t* POWERSHELL_PREFIX =
    L"\"C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "
    L"-NonInteractive -ExecutionPolicy Bypass -Command \"";
constexpr const wchar_t* POWERSHELL_SUFFIX = L"\"";

class PowerShellStandIn {
  public:
    // The exit code to end with, or nothing for no PowerShell at all.
    explicit PowerShellStandIn(std::optional<int> exitCode);
    ~PowerShellStandIn();
    PowerShellStandIn(const PowerShellStandIn&) = delete;
    PowerShellStandIn& operator=(const PowerShellStandIn&) = delete;

    // The command line PowerShell was started with, or nothing when it was not started. Asked
    // after the run that would start it has ended.
    std::optional<std::wstring> CommandLine() const { return record_.Wait(0); }

  private:
    LaunchRecord record_;
};
