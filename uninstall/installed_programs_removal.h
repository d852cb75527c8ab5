#pragma once
// The programs an installation put beside the module, the settings program and the setup
// program's copy, with the Windows 11 package kept there, and the settings program's Start menu
// shortcut (common/settings_shortcut.h), as far as an installation made them: an older one had
// none of them, and then nothing happens at all.

// Deletes the shortcut under either name and schedules each program's deletion at the next
// Windows start (either may be running). True when done or when there was nothing to remove.
bool RemoveInstalledPrograms();
