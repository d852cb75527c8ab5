#pragma once
// "Try with a photo": the file dialog, a new path, and the launch of the photo's link.

#include "settings/settings_window.h"

void ChoosePhoto(SettingsWindow& window);
// Reads the file the path field names, and shows what the menu would do with it.
void ReadPhotoAgain(SettingsWindow& window);
void OpenPhotoLink(SettingsWindow& window);
