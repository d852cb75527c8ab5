#pragma once
// A real top-level window for the command to own its message boxes, as Explorer's would.

#include <windows.h>

class TestWindow {
  public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Get() const { return window_; }

  private:
    HWND window_;
};
