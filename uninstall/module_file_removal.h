#pragma once
// Schedules the installed module file for deletion at the next Windows start, and gives the
// uninstall's final report.

// Shows the file failure box, or the success box when registryComplete; nothing else.
void RemoveModuleFile(bool registryComplete);
