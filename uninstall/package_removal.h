#pragma once
// Removes what the installer set up for Windows 11's own menu, as its record in the
// installed-programs entry names it: the package, for every user, and the certificate the
// installer trusted for it. Without a record it does nothing at all. Runs before the registry
// cleanup, which removes the record with the entry.

#include "uninstall/cleanup_outcome.h"

// Marks outcome failed when a recorded part could not be removed or the record not read.
void RemoveWindowsPackage(CleanupOutcome* outcome);
