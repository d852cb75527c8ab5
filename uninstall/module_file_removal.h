#pragma once
// Schedules the installed module file for deletion at the next Windows start, removes the
// settings program that an installation put beside it (uninstall/settings_program_removal.h),
// and gives the uninstall's final report.

// Shows the file failure box when either file step failed, or the success box when
// registryComplete; nothing else.
void RemoveModuleFile(bool registryComplete);
