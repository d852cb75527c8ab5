#include "tests/support/powershell_stand_in.h"

#include <gtest/gtest.h>

#include "tests/support/test_prefix.h"

namespace {

constexpr const wchar_t* EXIT_CODE_VARIABLE = L"QUORIEL_LAUNCH_EXIT_CODE";
constexpr const wchar_t* WINE_STUB_PATH =
    L"C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe.wine";

bool Exists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

PowerShellStandIn::PowerShellStandIn(std::optional<int> exitCode) {
    // A stub set aside by an earlier run that ended early is already there.
    if (!Exists(WINE_STUB_PATH)) {
        MoveFileW(POWERSHELL_PATH, WINE_STUB_PATH);
    }
    DeleteFileW(POWERSHELL_PATH);
    if (exitCode) {
        EXPECT_TRUE(CopyFileW(RECORDER_PATH, POWERSHELL_PATH, FALSE)) << "no stand-in placed";
        SetEnvironmentVariableW(EXIT_CODE_VARIABLE, std::to_wstring(*exitCode).c_str());
    }
}

PowerShellStandIn::~PowerShellStandIn() {
    SetEnvironmentVariableW(EXIT_CODE_VARIABLE, nullptr);
    DeleteFileW(POWERSHELL_PATH);
    MoveFileW(WINE_STUB_PATH, POWERSHELL_PATH);
}
