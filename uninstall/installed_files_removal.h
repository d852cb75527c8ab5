#pragma once
// The files of an installation: the module, whose deletion is scheduled for the next Windows
// start, and the programs beside it with the settings program's shortcut
// (uninstall/installed_programs_removal.h). Then the uninstall's final box.

#include "common/messages.h"

// Schedules the module's deletion and removes the programs; true when every step was done.
bool RemoveInstalledFiles();

// The final box: files left when filesRemoved is false, otherwise success when registryComplete
// (an incomplete cleanup has already shown its own warning); nothing else. In texts' language.
void ReportUninstall(const MessageTexts& texts, bool registryComplete, bool filesRemoved);
