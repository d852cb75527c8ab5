// The exported Uninstall: administrator test, confirmation, then the registry cleanup, the
// removal of the installed files and the final box. Callable as "rundll32 Quoriel.dll,Uninstall";
// it uses no arguments.
#include <windows.h>

#include "common/messages.h"
#include "uninstall/admin_check.h"
#include "uninstall/installed_files_removal.h"
#include "uninstall/registrations_removal.h"

extern "C" void WINAPI Uninstall() {
    try {
        if (!HasAdministratorRights()) {
            MessageBoxW(nullptr, TEXT_ADMIN_REQUIRED, CAPTION_UNINSTALL, STYLE_ERROR);
            return;
        }
        if (MessageBoxW(nullptr, TEXT_CONFIRM_UNINSTALL, CAPTION_UNINSTALL, STYLE_CONFIRM) !=
            IDOK) {
            return;
        }
        const bool registryComplete = RemoveRegistrationsAndSettingsWithWarning();
        ReportUninstall(registryComplete, RemoveInstalledFiles());
    } catch (...) {
        // Nothing may leave the export; a run cut short has already said what it could.
    }
}
