#pragma once
// The stored settings into the window's controls, and everything that follows an edit.

#include <windows.h>

#include "settings/formats_boxes.h"
#include "settings/preview.h"
#include "settings/settings_window.h"

// The edit of a launch setting.
int LaunchControl(int setting);

// The previews' frame names the sample position.
void ShowSampleTitle(const SettingsWindow& window);
// Reads the stored settings afresh and shows them; nothing counts as edited afterwards.
void ShowStoredSettings(SettingsWindow& window);
LaunchTexts EditedTexts(HWND dialog);
// Sets the five fields without counting it as the user's edit.
void FillLaunchTexts(SettingsWindow& window, const LaunchTexts& texts);
// The service list's choice: the preset the fields match, or Custom.
void ShowService(SettingsWindow& window);
// The previews, the notes beside the fields and the photo's link, from the fields as they are.
void RefreshPreview(SettingsWindow& window);
FormatsChoice CheckedFormats(HWND dialog);
// The language chosen for the boxes, and its texts: what the window quotes and its link's
// launch shows.
MessageLanguage ChosenLanguage(HWND dialog);
const MessageTexts& ChosenMessages(HWND dialog);
