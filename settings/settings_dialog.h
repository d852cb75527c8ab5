#pragma once
// The settings window: shown modally until OK or Cancel closes it.

#include <windows.h>

// IDOK or IDCANCEL by how it was closed, or -1 when it could not be shown.
INT_PTR RunSettingsDialog(HINSTANCE instance, LANGID language);
