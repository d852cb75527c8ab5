#include "settings/preset_choice.h"

#include "common/map_presets.h"

namespace {

constexpr int PRESET_COUNT = static_cast<int>(sizeof(MAP_PRESETS) / sizeof(MAP_PRESETS[0]));

LaunchTexts TextsOf(const MapPreset& preset) {
    return LaunchTexts{preset.launchTemplate, preset.north, preset.south, preset.east, preset.west};
}

}  // namespace

int PresetCount() {
    return PRESET_COUNT;
}

int CustomChoice() {
    return PRESET_COUNT;
}

const WCHAR* PresetName(int index) {
    return MAP_PRESETS[index].name;
}

LaunchTexts PresetTexts(int index) {
    return TextsOf(MAP_PRESETS[index]);
}

LaunchTexts DefaultPresetTexts() {
    return TextsOf(DEFAULT_PRESET);
}

int MatchingPreset(const LaunchTexts& texts) {
    for (int i = 0; i < PRESET_COUNT; ++i) {
        const LaunchTexts preset = PresetTexts(i);
        if (texts.object == preset.object && texts.north == preset.north &&
            texts.south == preset.south && texts.east == preset.east && texts.west == preset.west) {
            return i;
        }
    }
    return CustomChoice();
}
