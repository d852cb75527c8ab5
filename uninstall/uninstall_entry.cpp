// The exported Uninstall: administrator test, confirmation, then the registry cleanup, the
// removal of the installed files and the final box. Callable as "rundll32 Quoriel.dll,Uninstall";
// it uses no arguments.
#include <windows.h>

#include "common/message_language.h"
#include "uninstall/admin_check.h"
#include "uninstall/installed_files_removal.h"
#include "uninstall/registrations_removal.h"

extern "C" void WINAPI Uninstall() {
    try {
        // Read before the cleanup takes the account's settings away.
        const MessageTexts& texts = AccountMessages();
        if (!HasAdministratorRights()) {
            MessageBoxW(nullptr, texts.adminRequired, texts.uninstallCaption, STYLE_ERROR);
            return;
        }
        if (MessageBoxW(nullptr, texts.confirmUninstall, texts.uninstallCaption, STYLE_CONFIRM) !=
            IDOK) {
            return;
        }
        const bool registryComplete = RemoveRegistrationsAndSettingsWithWarning(texts);
        ReportUninstall(texts, registryComplete, RemoveInstalledFiles());
    } catch (...) {
        // Nothing may leave the export; a run cut short has already said what it could.
    }
}
