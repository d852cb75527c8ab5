#include "tests/support/child_process.h"

#include "common/owners.h"

int RunToEnd(const std::wstring& commandLine, DWORD timeoutMs) {
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    UniqueHandle child(process.hProcess);
    UniqueHandle thread(process.hThread);
    if (WaitForSingleObject(child.Get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(child.Get(), 1);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(child.Get(), &code);
    return static_cast<int>(code);
}

std::wstring FromLinuxPath(const std::string& path) {
    std::wstring windows = L"Z:" + std::wstring(path.begin(), path.end());
    for (wchar_t& c : windows) {
        c = c == L'/' ? L'\\' : c;
    }
    return windows;
}
