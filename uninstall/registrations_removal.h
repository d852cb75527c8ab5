#pragma once
// Removes the extension's registration and every user's launch settings, loading the hives of
// users who are not logged on; first, where the installer recorded them, its Windows 11 package
// and the certificate it trusted (uninstall/package_removal.h). Never stops at a failure; warns
// once at the end when anything was left.

#include <windows.h>

#include "common/messages.h"
#include "uninstall/cleanup_outcome.h"

// The cleanup without a box, for the setup program's quiet removal.
CleanupOutcome RemoveRegistrationsAndSettings();

// The cleanup with its warning in texts' language. True when everything was removed (or already
// gone); false after the warning.
bool RemoveRegistrationsAndSettingsWithWarning(const MessageTexts& texts);
