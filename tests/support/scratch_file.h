#pragma once
// Files that belong to one test, in a folder of their own under the prefix's temp folder.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    // Writes bytes to a file of that name in the folder and gives its full path.
    std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) const;

  private:
    std::wstring path_;
};

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> TryReadFileBytes(const std::wstring& path);
// The same for a file the test relies on: failing to read it fails the test.
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);

// Whether the file can be opened for writing with no sharing at all: nobody else holds it.
bool NobodyHoldsFile(const std::wstring& path);
