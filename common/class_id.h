#pragma once
// The one class the module serves: binary for COM, text for the registry keys that name it.
// Both forms live here side by side so that a change of one is seen beside the other.

#include <windows.h>

// {6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}
constexpr CLSID CLSID_Quoriel = {
    0x6A0C5B7E, 0x3D24, 0x4F19, {0x9E, 0x8B, 0x2C, 0x71, 0xD4, 0xA0, 0x5F, 0x63}};

// A macro so that key paths can be joined to it at compile time.
#define QUORIEL_CLSID_TEXT L"{6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}"
