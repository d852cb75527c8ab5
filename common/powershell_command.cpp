#include "common/powershell_command.h"

#include "common/owners.h"

namespace {

constexpr const WCHAR* POWERSHELL_IN_SYSTEM = L"\\WindowsPowerShell\\v1.0\\powershell.exe";
constexpr const WCHAR* POWERSHELL_OPTIONS =
    L" -NoProfile -NonInteractive -ExecutionPolicy Bypass -Command \"";
constexpr WCHAR QUOTE = L'\'';
constexpr WCHAR DOUBLE_QUOTE = L'"';
// The characters PowerShell ends a single-quoted string at: ', and the quotes ‘ ’ ‚ ‛.
constexpr const WCHAR* SINGLE_QUOTES = L"'\x2018\x2019\x201A\x201B";
constexpr UINT SYSTEM_DIRECTORY_CHARACTERS = MAX_PATH;
// Far longer than a registration takes (seconds), short enough that a hung one ends.
constexpr DWORD MOST_WAIT_MS = 5 * 60 * 1000;

bool IsSingleQuote(WCHAR c) {
    for (const WCHAR* quote = SINGLE_QUOTES; *quote != L'\0'; ++quote) {
        if (c == *quote) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::wstring PowerShellLiteral(const std::wstring& text) {
    std::wstring literal(1, QUOTE);
    for (const WCHAR c : text) {
        if (IsSingleQuote(c)) {
            literal += c;
        }
        literal += c;
    }
    literal += QUOTE;
    return literal;
}

PowerShellResult RunPowerShell(const std::wstring& command) {
    PowerShellResult result;
    if (command.find(DOUBLE_QUOTE) != std::wstring::npos) {
        result.startError = ERROR_INVALID_PARAMETER;
        return result;
    }
    WCHAR system[SYSTEM_DIRECTORY_CHARACTERS] = {};
    const UINT length = GetSystemDirectoryW(system, SYSTEM_DIRECTORY_CHARACTERS);
    if (length == 0 || length >= SYSTEM_DIRECTORY_CHARACTERS) {
        result.startError = length == 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW;
        return result;
    }
    const std::wstring program = std::wstring(system, length) + POWERSHELL_IN_SYSTEM;
    std::wstring line = L"\"" + program + L"\"" + POWERSHELL_OPTIONS + command + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
        result.startError = GetLastError();
        return result;
    }
    UniqueHandle child(process.hProcess);
    UniqueHandle thread(process.hThread);
    const DWORD waited = WaitForSingleObject(child.Get(), MOST_WAIT_MS);
    if (waited == WAIT_TIMEOUT) {
        // A deployment that hangs must not hold a sign-in or the setup window for ever.
        TerminateProcess(child.Get(), ERROR_TIMEOUT);
        result.startError = ERROR_TIMEOUT;
    } else if (waited != WAIT_OBJECT_0 || !GetExitCodeProcess(child.Get(), &result.exitCode)) {
        result.startError = GetLastError();
    }
    return result;
}
