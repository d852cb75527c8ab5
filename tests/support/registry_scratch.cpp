#include "tests/support/registry_scratch.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

void DeleteKeyTree(HKEY root, const std::wstring& path) {
    SHDeleteKeyW(root, path.c_str());
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

ScratchKey::ScratchKey(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
    DeleteKeyTree(root_, path_);
    const LONG error = RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                       &key_, nullptr);
    EXPECT_EQ(error, ERROR_SUCCESS) << "cannot create the scratch key";
}

ScratchKey::~ScratchKey() {
    RegCloseKey(key_);
    DeleteKeyTree(root_, path_);
}

void ScratchKey::SetString(const wchar_t* name, const std::wstring& text) {
    SetRaw(name, REG_SZ, std::wstring(text.c_str(), text.size() + 1));
}

void ScratchKey::SetRaw(const wchar_t* name, DWORD type, const std::vector<uint8_t>& data) {
    const LONG error =
        RegSetValueExW(key_, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    EXPECT_EQ(error, ERROR_SUCCESS) << "cannot set a scratch value";
}

void ScratchKey::SetRaw(const wchar_t* name, DWORD type, const std::wstring& characters) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(characters.data());
    SetRaw(name, type, std::vector<uint8_t>(bytes, bytes + characters.size() * sizeof(wchar_t)));
}
