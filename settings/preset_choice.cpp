#include "settings/preset_choice.h"

#include "common/map_presets.h"
#include "settings/settings_strings.h"

namespace {

// The presets whose name the string table holds in some language, by their key.
constexpr struct {
    const WCHAR* file;
    UINT nameId;
} TRANSLATED_NAMES[] = {{L"command-line", IDS_PRESET_COMMAND_LINE}};

constexpr int PRESET_COUNT = static_cast<int>(sizeof(MAP_PRESETS) / sizeof(MAP_PRESETS[0]));

LaunchTexts TextsOf(const MapPreset& preset) {
    LaunchTexts texts;
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        texts[i] = preset.texts[i];
    }
    return texts;
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

UINT PresetNameId(int index) {
    for (const auto& translated : TRANSLATED_NAMES) {
        if (lstrcmpW(translated.file, MAP_PRESETS[index].file) == 0) {
            return translated.nameId;
        }
    }
    return 0;
}

LaunchTexts PresetTexts(int index) {
    return TextsOf(MAP_PRESETS[index]);
}

LaunchTexts DefaultPresetTexts() {
    return TextsOf(DEFAULT_PRESET);
}

int MatchingPreset(const LaunchTexts& texts) {
    for (int i = 0; i < PRESET_COUNT; ++i) {
        if (texts == PresetTexts(i)) {
            return i;
        }
    }
    return CustomChoice();
}
