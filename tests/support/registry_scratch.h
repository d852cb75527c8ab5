#pragma once
// A registry key that belongs to one test: whatever stood at its path is deleted first, and the
// key with everything under it is deleted again when the object goes.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class ScratchKey {
  public:
    ScratchKey(HKEY root, std::wstring path);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Get() const { return key_; }

    // REG_SZ holding text and its terminating NUL.
    void SetString(const wchar_t* name, const std::wstring& text);
    // Any type, any bytes, exactly as given.
    void SetRaw(const wchar_t* name, DWORD type, const std::vector<uint8_t>& data);
    void SetRaw(const wchar_t* name, DWORD type, const std::wstring& characters);

  private:
    HKEY root_;
    std::wstring path_;
    HKEY key_ = nullptr;
};

// Deletes the key at path with everything under it; no key there is no error.
void DeleteKeyTree(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
