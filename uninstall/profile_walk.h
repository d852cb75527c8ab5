#pragma once
// Removes the launch settings of every user profile listed in the profile list, loading the
// hive of each profile whose user is not logged on and unloading it again afterwards.

#include "uninstall/cleanup_outcome.h"

void WalkProfiles(CleanupOutcome* outcome);
