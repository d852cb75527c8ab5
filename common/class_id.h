#pragma once
// The classes the module serves: binary for COM, text for the registry keys and the package
// manifest that name them. Both forms live here side by side so that a change of one is seen
// beside the other; the build reads the text forms from this file for the manifest.

#include <windows.h>

// The context-menu handler of the classic menu ("Show more options" on Windows 11).
// {6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}
constexpr CLSID CLSID_Quoriel = {
    0x6A0C5B7E, 0x3D24, 0x4F19, {0x9E, 0x8B, 0x2C, 0x71, 0xD4, 0xA0, 0x5F, 0x63}};

// A macro so that key paths can be joined to it at compile time.
#define QUORIEL_CLSID_TEXT L"{6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}"

// The Explorer command of Windows 11's own menu, named by the package's manifest.
// {5D066B1B-F9CF-46BE-A0EB-CA4188CB5DB4}
constexpr CLSID CLSID_QuorielCommand = {
    0x5D066B1B, 0xF9CF, 0x46BE, {0xA0, 0xEB, 0xCA, 0x41, 0x88, 0xCB, 0x5D, 0xB4}};

#define QUORIEL_COMMAND_CLSID_TEXT L"{5D066B1B-F9CF-46BE-A0EB-CA4188CB5DB4}"

// The command's canonical name, fixed so that Explorer can tell it again after an update.
// {EF04A83E-C656-49AF-AFFE-D1BD1D970E41}
constexpr GUID QUORIEL_COMMAND_NAME = {
    0xEF04A83E, 0xC656, 0x49AF, {0xAF, 0xFE, 0xD1, 0xBD, 0x1D, 0x97, 0x0E, 0x41}};
