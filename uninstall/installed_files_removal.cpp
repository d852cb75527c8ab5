#include "uninstall/installed_files_removal.h"

#include <windows.h>

#include "common/installed_module.h"
#include "common/messages.h"
#include "uninstall/delayed_deletion.h"
#include "uninstall/installed_programs_removal.h"

namespace {

// The module file is in use while this runs, so its deletion is only scheduled.
bool ScheduleModuleDeletion() {
    WCHAR path[MAX_PATH] = {};
    if (!MakeInstalledModulePath(path)) {
        return false;
    }
    return ScheduleDeletion(path);
}

}  // namespace

bool RemoveInstalledFiles() {
    const bool programsRemoved = RemoveInstalledPrograms();
    return ScheduleModuleDeletion() && programsRemoved;
}

void ReportUninstall(const MessageTexts& texts, bool registryComplete, bool filesRemoved) {
    if (!filesRemoved) {
        MessageBoxW(nullptr, texts.filesLeft, texts.uninstallCaption, STYLE_WARNING);
    } else if (registryComplete) {
        MessageBoxW(nullptr, texts.uninstalled, texts.uninstallCaption, STYLE_INFORMATION);
    }
}
