#include "uninstall/registrations_removal.h"

#include "common/messages.h"
#include "common/registry_names.h"
#include "common/key_removal.h"
#include "uninstall/package_removal.h"
#include "uninstall/profile_walk.h"
#include "uninstall/restore_privilege.h"
#include "uninstall/settings_removal.h"

namespace {

// The class key goes only after its server key, and only when that was its last subkey.
void RemoveMachineKeys(CleanupOutcome* outcome) {
    if (Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, SERVER_KEY))) {
        outcome->failed |= !Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, CLASS_KEY));
    } else {
        outcome->failed = true;
    }
    outcome->failed |= !Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, HANDLER_KEY));
    outcome->failed |= !Removed(RegDeleteKeyW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY));
    // No account is set up any more at its sign-in.
    outcome->failed |= !Removed(RegDeleteKeyW(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY));
}

}  // namespace

CleanupOutcome RemoveRegistrationsAndSettings() {
    CleanupOutcome outcome;
    RemoveWindowsPackage(&outcome);  // reads its record before the entry that holds it goes
    RemoveMachineKeys(&outcome);
    outcome.failed |= !RemoveSettings(HKEY_CURRENT_USER);
    {
        RestorePrivilege privilege;
        if (privilege.Enable()) {
            WalkProfiles(&outcome);
        } else {
            outcome.walkNotRun = true;
        }
    }
    return outcome;
}

bool RemoveRegistrationsAndSettingsWithWarning(const MessageTexts& texts) {
    const CleanupOutcome outcome = RemoveRegistrationsAndSettings();
    if (!outcome.Complete()) {
        MessageBoxW(nullptr, texts.registryLeft, texts.uninstallCaption, STYLE_WARNING);
    }
    return outcome.Complete();
}
