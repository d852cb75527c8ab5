#pragma once
// The settings window: shown modally until OK or Cancel closes it.

#include <windows.h>

// As DialogBoxIndirectParamW answers when it cannot show a dialog.
constexpr INT_PTR DIALOG_NOT_SHOWN = -1;

// IDOK or IDCANCEL by how it was closed, or DIALOG_NOT_SHOWN.
INT_PTR RunSettingsDialog(HINSTANCE instance, LANGID language);
