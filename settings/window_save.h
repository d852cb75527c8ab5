#pragma once
// OK and Apply: the values the user changed into the registry.

#include "settings/settings_window.h"

// True when every changed value was written, or nothing changed; false when a malformed
// template refused the save or a write failed (said in a box).
bool SaveChanges(SettingsWindow& window);
