#pragma once
// The settings program and its Start menu shortcut (common/settings_shortcut.h), as far as an
// installation made them: an earlier one had neither, and then nothing happens at all.

// Deletes the shortcut under either name and schedules the program's deletion at the next
// Windows start (it may be open). True when done or when there was nothing to remove.
bool RemoveSettingsProgram();
