// QuorielSettings.exe: the window in which the user chooses the map, the template and the
// formats the menu reads. It runs in a process of its own, never inside Explorer.
#include <windows.h>
#include <commctrl.h>

#include "common/ui_language.h"
#include "settings/settings_dialog.h"

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_NOT_SHOWN = 1;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RunSettingsDialog(instance, WindowLanguage()) == DIALOG_NOT_SHOWN ? EXIT_NOT_SHOWN
                                                                             : EXIT_OK;
}
