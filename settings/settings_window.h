#pragma once
// The settings window's state and the steps its message handling is made of.

#include <windows.h>

#include <string>

#include "settings/formats_boxes.h"
#include "settings/language.h"
#include "settings/photo_trial.h"
#include "settings/preview.h"
#include "settings/settings_values.h"

struct SettingsWindow {
    HWND dialog = nullptr;
    WindowTexts texts;
    StoredSettings stored;
    // Edited since the last save: what decides for a value that could not be read.
    bool touched[LAUNCH_SETTING_COUNT] = {};
    // The window itself is filling the fields; their changes are not the user's.
    bool filling = false;
    FormatsChoice shownFormats;   // what the boxes showed after the last reading
    std::wstring unknownFormats;  // entries of the stored value the boxes cannot show
    PhotoReading photo;
};

// The edit of a launch setting.
int LaunchControl(int setting);

// window_state.cpp: the stored settings into the controls, and everything that follows an edit.
void ShowStoredSettings(SettingsWindow& window);
LaunchTexts EditedTexts(HWND dialog);
void FillLaunchTexts(SettingsWindow& window, const LaunchTexts& texts);
void ShowService(SettingsWindow& window);
void RefreshPreview(SettingsWindow& window);
FormatsChoice CheckedFormats(HWND dialog);

// window_save.cpp: true when every changed value was written, or nothing changed; false when a
// malformed template refused the save or a write failed (said in a box).
bool SaveChanges(SettingsWindow& window);

// photo_commands.cpp: the file dialog, a new path, and the launch of the photo's link.
void ChoosePhoto(SettingsWindow& window);
void ReadPhotoAgain(SettingsWindow& window);
void OpenPhotoLink(SettingsWindow& window);
