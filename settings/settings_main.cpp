// QuorielSettings.exe: the window in which the user chooses the map, the template and the
// formats the menu reads. It runs in a process of its own, never inside Explorer. With
// "/account" it shows nothing and gives the account its first settings (install/account_setup.h).
#include <windows.h>
#include <commctrl.h>

#include "common/ui_language.h"
#include "install/account_setup.h"
#include "settings/settings_dialog.h"

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_NOT_SHOWN = 1;
constexpr int EXIT_ACCOUNT_NOT_SET_UP = 1;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    // Run by Active Setup at an account's sign-in: no window.
    if (lstrcmpiW(commandLine, ACCOUNT_OPTION) == 0) {
        return SetUpAccount() ? EXIT_OK : EXIT_ACCOUNT_NOT_SET_UP;
    }
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RunSettingsDialog(instance, WindowLanguage()) == DIALOG_NOT_SHOWN ? EXIT_NOT_SHOWN
                                                                             : EXIT_OK;
}
