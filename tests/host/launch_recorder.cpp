// Stands in for whatever a launch opens: records the command line it was started with, as
// UTF-16, in the file that QUORIEL_LAUNCH_RECORD names. The file appears whole or not at all.
// It ends with the exit code that QUORIEL_LAUNCH_EXIT_CODE gives, 0 without it (the tests make
// it stand in for PowerShell too).
#include <windows.h>

#include <string>

namespace {

DWORD ChosenExitCode() {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUORIEL_LAUNCH_EXIT_CODE", text, 16);
    if (length == 0 || length >= 16) {
        return 0;
    }
    return static_cast<DWORD>(wcstoul(text, nullptr, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t target[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"QUORIEL_LAUNCH_RECORD", target, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 1;
    }
    const std::wstring partial = std::wstring(target) + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    const wchar_t* commandLine = GetCommandLineW();
    const DWORD bytes = static_cast<DWORD>(lstrlenW(commandLine) * sizeof(wchar_t));
    DWORD written = 0;
    const BOOL ok = WriteFile(file, commandLine, bytes, &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING)) {
        return 3;
    }
    return static_cast<int>(ChosenExitCode());
}
