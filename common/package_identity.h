#pragma once
// The Windows 11 package beside the module: its identity name and the files the release
// carries. The build reads these texts from this file for the manifest and the archive; the
// installer and Uninstall find the package and its certificate by them.

#include <windows.h>

// The package's Identity Name; its publisher is the signing certificate's subject.
#define QUORIEL_PACKAGE_NAME_TEXT L"Vantorel.Quoriel"
// The signed package and the public part of its signing certificate, beside the installer.
#define QUORIEL_PACKAGE_FILE_TEXT L"Quoriel.msix"
#define QUORIEL_CERTIFICATE_FILE_TEXT L"Quoriel.cer"
// The module, in the system directory's "ShellExt" folder and in the package's external
// location.
#define QUORIEL_MODULE_FILE_TEXT L"Quoriel.dll"
// The settings program, which is to live beside the module; the package's application entry
// must name an executable there, and it is the only one.
#define QUORIEL_SETTINGS_FILE_TEXT L"QuorielSettings.exe"
// The setup program, which keeps a copy of itself beside the module: the entry in the list of
// installed programs runs that copy to remove Quoriel.
#define QUORIEL_SETUP_FILE_TEXT L"QuorielSetup.exe"

constexpr const WCHAR* PACKAGE_NAME = QUORIEL_PACKAGE_NAME_TEXT;
constexpr const WCHAR* PACKAGE_FILE = QUORIEL_PACKAGE_FILE_TEXT;
constexpr const WCHAR* CERTIFICATE_FILE = QUORIEL_CERTIFICATE_FILE_TEXT;
constexpr const WCHAR* MODULE_FILE = QUORIEL_MODULE_FILE_TEXT;
constexpr const WCHAR* SETTINGS_FILE = QUORIEL_SETTINGS_FILE_TEXT;
constexpr const WCHAR* SETUP_FILE = QUORIEL_SETUP_FILE_TEXT;
