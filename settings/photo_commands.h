#pragma once
// "Try with a photo": the file dialog, a new path, and the launch of the photo's link.

#include "settings/settings_window.h"

void ChoosePhoto(SettingsWindow& window);
// Reads the file the path field names, and shows what the menu would do with it.
void ReadPhotoAgain(SettingsWindow& window);
// Shows the last reading again, after a format box changed: the menu reads the formats as
// saved, so only the note that changed boxes are not tried yet can change.
void ShowPhotoReading(SettingsWindow& window);
void OpenPhotoLink(SettingsWindow& window);
