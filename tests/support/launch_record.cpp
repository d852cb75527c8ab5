#include "tests/support/launch_record.h"

#include <vector>

#include "tests/support/scratch_file.h"

namespace {

constexpr const wchar_t* RECORD_VARIABLE = L"QUORIEL_LAUNCH_RECORD";
constexpr DWORD POLL_MS = 50;

// The recorder writes UTF-16.
std::optional<std::wstring> ReadRecord(const std::wstring& path) {
    const std::optional<std::vector<uint8_t>> bytes = TryReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()),
                        bytes->size() / sizeof(wchar_t));
}

}  // namespace

LaunchRecord::LaunchRecord() {
    wchar_t folder[MAX_PATH];
    wchar_t file[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"qlr", 0, file);
    path_ = file;
    DeleteFileW(path_.c_str());
    SetEnvironmentVariableW(RECORD_VARIABLE, path_.c_str());
}

LaunchRecord::~LaunchRecord() {
    SetEnvironmentVariableW(RECORD_VARIABLE, nullptr);
    DeleteFileW(path_.c_str());
}

std::optional<std::wstring> LaunchRecord::Wait(DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        if (auto text = ReadRecord(path_)) {
            return text;
        }
        Sleep(POLL_MS);
    } while (GetTickCount64() < deadline);
    return std::nullopt;
}

std::wstring LaunchRecord::Arguments(const std::wstring& commandLine) {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring::npos ? commandLine.size() : end + 1;
    } else {
        end = commandLine.find(L' ');
        end = end == std::wstring::npos ? commandLine.size() : end;
    }
    if (end < commandLine.size() && commandLine[end] == L' ') {
        ++end;
    }
    return commandLine.substr(end);
}
