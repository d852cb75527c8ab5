// Shows the real settings program in the state the guide pictures and writes the window to a
// BMP file (scripts/screenshots.sh turns it into the guide's PNG):
//   settings-screenshot PROGRAM CAPTURE_DLL OUT.bmp [PHOTO]
// Google Maps chosen, the messages in the window's language (as setup chooses them), HEIC ticked
// and applied (the photo is tried by the saved switch), the photo tried; then Cancel. The
// language is the one the environment gives the program.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/map_presets.h"
#include "common/owners.h"
#include "settings/settings_ids.h"
#include "tests/support/program_window.h"
#include "tests/settings/window_capture.h"
#include "tests/support/window_shot.h"

namespace {

constexpr const wchar_t* PICTURED_SERVICE = L"google-maps";
constexpr int PICTURED_FORMAT = IDC_FORMAT_BASE;  // image/heic
constexpr int JAPANESE_MESSAGES_ITEM = 0;
constexpr int ENGLISH_MESSAGES_ITEM = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_FAILED = 1;

int PresetIndex(const wchar_t* file) {
    for (int i = 0; i < static_cast<int>(ARRAYSIZE(MAP_PRESETS)); ++i) {
        if (std::wstring(MAP_PRESETS[i].file) == file) {
            return i;
        }
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: settings-screenshot PROGRAM CAPTURE_DLL OUT.bmp [PHOTO]\n");
        return EXIT_USAGE;
    }
    const std::wstring output = argv[3];
    DeleteFileW(output.c_str());
    ProgramWindow window(argv[1], {{CAPTURE_PATH_VARIABLE, output}});
    if (!window.Shown()) {
        std::fprintf(stderr, "the settings window did not show\n");
        return EXIT_FAILED;
    }
    window.Choose(IDC_SERVICE, PresetIndex(PICTURED_SERVICE));
    window.Choose(IDC_MESSAGES, PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
                                    ? JAPANESE_MESSAGES_ITEM
                                    : ENGLISH_MESSAGES_ITEM);
    if (!window.Checked(PICTURED_FORMAT)) {
        window.Click(PICTURED_FORMAT);
    }
    window.Click(IDC_APPLY);
    if (argc > 4) {
        window.Type(IDC_PHOTO_PATH, argv[4]);
    }
    const bool captured = CaptureWindow(window.Dialog(), argv[2]);
    window.Click(IDCANCEL);
    window.WaitForExit();
    if (!captured || GetFileAttributesW(output.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "the window could not be captured\n");
        return EXIT_FAILED;
    }
    return 0;
}
