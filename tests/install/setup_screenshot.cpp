// Shows the real setup program's two pages as the guide pictures them and writes each to a BMP
// file (scripts/screenshots.sh turns them into the guide's PNGs):
//   setup-screenshot SETUP CAPTURE_DLL FIRST.bmp RESULT.bmp
// The first page as it opens, then Cancel; in a second run, Install and the result page, then
// Close. The setup program must lie beside the module and the settings program. The language
// is the one the environment gives the program.
#include <windows.h>

#include <cstdio>
#include <string>

#include "install/setup_ids.h"
#include "tests/settings/window_capture.h"
#include "tests/support/program_window.h"
#include "tests/support/window_shot.h"

namespace {

constexpr int EXIT_USAGE = 2;
constexpr int EXIT_FAILED = 1;
constexpr DWORD RESULT_TIMEOUT_MS = 60000;
constexpr DWORD POLL_MS = 50;

bool Shot(const ProgramWindow& window, const wchar_t* dll, const std::wstring& output) {
    return CaptureWindow(window.Dialog(), dll) &&
           GetFileAttributesW(output.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FirstPage(const wchar_t* setup, const wchar_t* dll, const std::wstring& output) {
    ProgramWindow window(setup, {{CAPTURE_PATH_VARIABLE, output}});
    const bool shot = window.Shown() && Shot(window, dll, output);
    window.Click(IDC_CANCEL);
    window.WaitForExit();
    return shot;
}

bool ResultPage(const wchar_t* setup, const wchar_t* dll, const std::wstring& output) {
    ProgramWindow window(setup, {{CAPTURE_PATH_VARIABLE, output}});
    if (!window.Shown()) {
        return false;
    }
    window.Click(IDC_INSTALL);
    const ULONGLONG deadline = GetTickCount64() + RESULT_TIMEOUT_MS;
    while (!IsWindowVisible(window.Control(IDC_CLOSE)) && GetTickCount64() < deadline) {
        Sleep(POLL_MS);
    }
    const bool shot = Shot(window, dll, output);
    window.Click(IDC_CLOSE);
    window.WaitForExit();
    return shot;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: setup-screenshot SETUP CAPTURE_DLL FIRST.bmp RESULT.bmp\n");
        return EXIT_USAGE;
    }
    DeleteFileW(argv[3]);
    DeleteFileW(argv[4]);
    if (!FirstPage(argv[1], argv[2], argv[3]) || !ResultPage(argv[1], argv[2], argv[4])) {
        std::fprintf(stderr, "the setup window could not be captured\n");
        return EXIT_FAILED;
    }
    return 0;
}
