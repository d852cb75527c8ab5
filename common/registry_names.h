#pragma once
// The registry entries of an installation: written by the installer, read by the handler and
// removed by Uninstall. Kept in one place so that the three never drift apart.

#include <windows.h>

#define QUORIEL_CLSID_TEXT L"{6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}"

// Under HKEY_CLASSES_ROOT.
constexpr const WCHAR* CLASS_KEY = L"CLSID\\" QUORIEL_CLSID_TEXT;
constexpr const WCHAR* SERVER_KEY = L"CLSID\\" QUORIEL_CLSID_TEXT L"\\InProcServer32";
constexpr const WCHAR* HANDLER_KEY = L"*\\shellex\\ContextMenuHandlers\\" QUORIEL_CLSID_TEXT;
// Under HKEY_LOCAL_MACHINE: the entry in the list of installed programs.
constexpr const WCHAR* PROGRAMS_KEY =
    L"SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" QUORIEL_CLSID_TEXT;

// Under a user's root: the maker's key and the launch settings below it.
constexpr const WCHAR* MAKER_KEY = L"Software\\Vantorel";
constexpr const WCHAR* SETTINGS_SUBKEY = L"Quoriel";
constexpr const WCHAR* SETTINGS_KEY = L"Software\\Vantorel\\Quoriel";

// Below the system directory.
constexpr const WCHAR* MODULE_IN_SYSTEM = L"\\ShellExt\\Quoriel.dll";
