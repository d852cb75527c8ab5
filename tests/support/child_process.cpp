#include "tests/support/child_process.h"

#include "common/owners.h"

namespace {

int Run(const std::wstring& commandLine, HANDLE output, DWORD timeoutMs) {
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
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

}  // namespace

int RunToEnd(const std::wstring& commandLine, DWORD timeoutMs) {
    return Run(commandLine, nullptr, timeoutMs);
}

int RunToEnd(const std::wstring& commandLine, std::string* output, DWORD timeoutMs) {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"qco", 0, path);
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    int code = -1;
    {
        UniqueFile file(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, 0, nullptr));
        if (!file) {
            return -1;
        }
        code = Run(commandLine, file.Get(), timeoutMs);
        std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
        DWORD read = 0;
        SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
        if (!bytes.empty() &&
            !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
            read = 0;
        }
        bytes.resize(read);
        *output = bytes;
    }
    DeleteFileW(path);
    return code;
}

std::wstring FromLinuxPath(const std::string& path) {
    std::wstring windows = L"Z:" + std::wstring(path.begin(), path.end());
    for (wchar_t& c : windows) {
        c = c == L'/' ? L'\\' : c;
    }
    return windows;
}
