#pragma once
// Identifiers of the settings window's string table, shared by the resource script and the
// code. "%1", "%2" in a text stand for what the code puts there.

// "Custom", the last map service.
#define IDS_CUSTOM 1
// The previews' frame. %1: the sample position in degrees.
#define IDS_PREVIEW_TITLE 14
// The names of map presets that have one of their own in a language, found by the preset's key
// (settings/preset_choice.cpp); a language without the entry shows the table's own name.
#define IDS_PRESET_COMMAND_LINE 20
// %1: the menu's "not set" message.
#define IDS_TEMPLATE_EMPTY 2
// %1: the malformed code, %2: its character position in the field, from 1.
#define IDS_MALFORMED_CODE 3
// %1: the error code of a stored value that could not be read as text.
#define IDS_TEMPLATE_UNREADABLE 4
// %1: the names of the hemisphere values that could not be read as text.
#define IDS_HEMISPHERES_UNREADABLE 5
// The stored formats value is not one the menu reads.
#define IDS_FORMATS_NOT_READ 6
// %1: the entries of the stored formats value the boxes cannot show.
#define IDS_FORMATS_KEPT 7
// The photo trial: the position found (%1), the menu not offered, a file not read (%1: error).
#define IDS_PHOTO_POSITION 8
#define IDS_PHOTO_NOT_OFFERED 9
#define IDS_PHOTO_NOT_READ 10
// Added to IDS_PHOTO_NOT_OFFERED while format boxes differ from the saved value.
#define IDS_PHOTO_APPLY_FIRST 15
// The file dialog's title and its filter's name for every file.
#define IDS_PHOTO_DIALOG_TITLE 11
#define IDS_ALL_FILES 12
// A refused save: the template holds a malformed code. %1: the writing's error for a failed one.
#define IDS_SAVE_FAILED 13
