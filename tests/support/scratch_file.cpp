#include "tests/support/scratch_file.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "common/owners.h"

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH];
    wchar_t unique[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetTempFileNameW(temp, L"qsf", 0, unique);
    DeleteFileW(unique);
    CreateDirectoryW(unique, nullptr);
    path_ = unique;
}

ScratchFolder::~ScratchFolder() {
    // SHFileOperation wants a double-NUL list.
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

std::wstring ScratchFolder::Write(const std::wstring& name,
                                  const std::vector<uint8_t>& bytes) const {
    const std::wstring path = path_ + L"\\" + name;
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(file) << "cannot create a scratch file";
    DWORD written = 0;
    if (!bytes.empty()) {
        EXPECT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr));
    }
    return path;
}

std::optional<std::vector<uint8_t>> TryReadFileBytes(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    std::optional<std::vector<uint8_t>> bytes = TryReadFileBytes(path);
    EXPECT_TRUE(bytes.has_value()) << "cannot read a test data file";
    return bytes.value_or(std::vector<uint8_t>());
}

bool NobodyHoldsFile(const std::wstring& path) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}
