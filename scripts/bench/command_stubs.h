#pragma once
// Stand-ins for what the position command does after its reading: the settings key it opens
// for a found position, and the message box it shows when there is none. Neither is reading,
// and no peer reader does either, so the comparison with the peers answers both at once
// without leaving the process: the key is missing, the box is closed with OK.

#include <cstdint>

struct CommandStubCounters {
    uint64_t settingsOpens = 0;
    uint64_t noPositionBoxes = 0;
    uint64_t noExifBoxes = 0;
    uint64_t otherBoxes = 0;
};

// False when this executable imports RegOpenKeyExW or MessageBoxW under another name.
bool InstallCommandStubs();

void ResetCommandStubCounters();
CommandStubCounters CurrentCommandStubCounters();
