#pragma once
// Receives what the launch recorder program was started with. While an object lives, launches
// from this process (and their children) record into its own file.

#include <windows.h>

#include <optional>
#include <string>

class LaunchRecord {
  public:
    LaunchRecord();
    ~LaunchRecord();
    LaunchRecord(const LaunchRecord&) = delete;
    LaunchRecord& operator=(const LaunchRecord&) = delete;

    // The recorder's whole command line, or nothing when no launch arrived in time.
    std::optional<std::wstring> Wait(DWORD timeoutMs = 20000) const;

    // What follows the program in a command line: the first token, quoted or not, and the one
    // space after it are dropped.
    static std::wstring Arguments(const std::wstring& commandLine);

  private:
    std::wstring path_;
};
