#pragma once
// The files of an installation: the module, whose deletion is scheduled for the next Windows
// start, and the programs beside it with the settings program's shortcut
// (uninstall/installed_programs_removal.h). Then the uninstall's final box.

// Schedules the module's deletion and removes the programs; true when every step was done.
bool RemoveInstalledFiles();

// The final box: files left when filesRemoved is false, otherwise success when registryComplete
// (an incomplete cleanup has already shown its own warning); nothing else.
void ReportUninstall(bool registryComplete, bool filesRemoved);
