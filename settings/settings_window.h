#pragma once
// The settings window's state, shared by the steps its message handling is made of
// (window_state.h, window_save.h, photo_commands.h).

#include <windows.h>

#include <string>

#include "common/message_language.h"
#include "settings/formats_boxes.h"
#include "common/ui_language.h"
#include "settings/photo_trial.h"
#include "settings/preview.h"
#include "settings/settings_values.h"

struct SettingsWindow {
    HWND dialog = nullptr;
    WindowTexts texts;
    StoredSettings stored;
    // Edited since the last save: what decides for a value that could not be read.
    bool touched[LAUNCH_VALUE_COUNT] = {};
    // The window itself is filling the fields; their changes are not the user's.
    bool filling = false;
    FormatsChoice shownFormats;   // what the boxes showed after the last reading
    std::wstring unknownFormats;  // entries of the stored value the boxes cannot show
    MessageLanguage shownLanguage = MessageLanguage::JAPANESE;  // as the command reads it
    PhotoReading photo;
};
