#pragma once
// Where the setup program writes its lines: the log file that /log names, and the console it
// was started from (or whatever its output was redirected to). A program started by a
// double-click has neither, and then the lines go nowhere.

#include <windows.h>

#include <string>

#include "common/owners.h"

class SetupLog {
  public:
    SetupLog();
    SetupLog(const SetupLog&) = delete;
    SetupLog& operator=(const SetupLog&) = delete;

    // Starts the log file anew; ERROR_SUCCESS or why it cannot be written.
    DWORD OpenFile(const std::wstring& path);
    void Line(const std::wstring& line);

  private:
    void Write(HANDLE output, bool console, const std::wstring& line);

    UniqueFile file_;
    UniqueFile attached_;  // the parent's console, opened for this program
    HANDLE output_ = nullptr;
    bool console_ = false;
};
