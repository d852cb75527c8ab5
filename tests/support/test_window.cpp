#include "tests/support/test_window.h"

TestWindow::TestWindow()
    : window_(CreateWindowExW(0, L"STATIC", L"Quoriel test owner", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                              100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

TestWindow::~TestWindow() {
    DestroyWindow(window_);
}
