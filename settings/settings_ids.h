#pragma once
// Identifiers of the settings window and its controls, shared by the resource script, the
// program and whatever drives the window with messages. The window is a dialog (class "#32770")
// found by its caption, which depends on the user interface language.

// Captions, which are also the Start menu shortcut's names.
#include "common/settings_names.h"

// The dialog template.
#define IDD_SETTINGS 100
// The program's icon (the module's own picture), also the window's; the lowest icon
// identifier, so that Explorer and a shortcut show it.
#define IDI_SETTINGS 1

// Map service: a combo box (drop-down list). Its items are the map presets in their table's
// order (common/map_presets.h), then "Custom" last (index: the number of presets).
#define IDC_SERVICE 1001
// The launch template (value "Object"): an edit.
#define IDC_TEMPLATE 1002
// What "@AH" and "@OH" write: the four hemisphere edits (values "N", "S", "E", "W").
#define IDC_NORTH 1003
#define IDC_SOUTH 1004
#define IDC_EAST 1005
#define IDC_WEST 1006
// Beside the template: a malformed code (which and where), an empty template (the menu's "not
// set" message), or a stored value that could not be read as text. Empty when all is well.
#define IDC_TEMPLATE_ERROR 1007
// Beside the hemisphere edits: which of the four stored values could not be read as text.
// Empty when all is well.
#define IDC_HEMISPHERE_ERROR 1008

// Preview: the exact text the menu would launch for the sample position (north, east), for
// the same position in the southern hemisphere, and in the western hemisphere
// (settings/sample_position.h). Read-only edits, so that a long link can be scrolled and
// copied (WM_GETTEXT reads them as any control); empty while the template is empty.
#define IDC_PREVIEW_SAMPLE 1010
// The previews' frame, whose title names the sample position.
#define IDC_PREVIEW_GROUP 1013
#define IDC_PREVIEW_SOUTH 1011
#define IDC_PREVIEW_WEST 1012

// "Try with a photo…": a button opening a file dialog; the path chosen (or typed or set with
// WM_SETTEXT) is in the path edit, and every change of it reads the file again.
#define IDC_TRY_PHOTO 1020
#define IDC_PHOTO_PATH 1021
// The position read from the photo in degrees, or the message the menu would give, or that
// the menu is not offered for the file: a static text.
#define IDC_PHOTO_RESULT 1022
// The text the current (edited) template makes for that position, not launched: a read-only
// edit, empty when the file gave no position.
#define IDC_PHOTO_LINK 1023
// Launches that text as the menu would; enabled only when there is a link.
#define IDC_OPEN_LINK 1024

// Formats: one check box per row of FORMATS (common/formats.h) that needs the switch, in the
// table's order, with consecutive identifiers from this base (IDC_FORMAT_BASE + 0 is
// image/heic), made by the window inside three group boxes: photos, videos and camera raws
// (settings/format_box_layout.h).
#define IDC_FORMAT_BASE 1100
#define IDC_PHOTOS_GROUP 1030
#define IDC_VIDEOS_GROUP 1031
#define IDC_RAWS_GROUP 1033
// Beside the formats: the stored value is not one the menu reads, or names entries the boxes
// cannot show (kept as they are). Empty when all is well.
#define IDC_FORMATS_NOTE 1032

// The language of the command's and the uninstaller's boxes (value "Language"): a drop-down
// list of the two language names, 日本語 (index 0) then English (index 1).
#define IDC_MESSAGES 1050

// OK is IDOK (the default button), Cancel is IDCANCEL; Apply writes without closing.
#define IDC_APPLY 1040

#ifndef RC_INVOKED
#include <windows.h>

constexpr const WCHAR* SETTINGS_CAPTION_JA = L"" SETTINGS_CAPTION_JA_TEXT;
constexpr const WCHAR* SETTINGS_CAPTION_EN = L"" SETTINGS_CAPTION_EN_TEXT;
#endif
