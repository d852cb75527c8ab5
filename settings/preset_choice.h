#pragma once
// The map service list: the presets in their table's order (common/map_presets.h), then
// "Custom". Only preset_choice.cpp reads the table.

#include <windows.h>

#include "settings/preview.h"

int PresetCount();
// The list's last item: PresetCount().
int CustomChoice();

// The English name, and the five texts, of the preset at index.
const WCHAR* PresetName(int index);
// The string table's name of the preset at index, or 0 when it has none.
UINT PresetNameId(int index);
LaunchTexts PresetTexts(int index);
// The five texts of the preset that the installer writes for a user without settings.
LaunchTexts DefaultPresetTexts();

// The preset whose five texts are exactly these, or CustomChoice().
int MatchingPreset(const LaunchTexts& texts);
