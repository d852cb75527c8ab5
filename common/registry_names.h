#pragma once
// The registry entries of an installation: written by the installer, read by the handler and
// removed by Uninstall. Kept in one place so that the three never drift apart.

#include <windows.h>

#include "common/class_id.h"
#include "common/package_identity.h"

// Under HKEY_CLASSES_ROOT.
constexpr const WCHAR* CLASS_KEY = L"CLSID\\" QUORIEL_CLSID_TEXT;
constexpr const WCHAR* SERVER_KEY = L"CLSID\\" QUORIEL_CLSID_TEXT L"\\InProcServer32";
constexpr const WCHAR* THREADING_MODEL_VALUE = L"ThreadingModel";
constexpr const WCHAR* HANDLER_KEY = L"*\\shellex\\ContextMenuHandlers\\" QUORIEL_CLSID_TEXT;
// Of a file extension's key: the media type the handler tells images by.
constexpr const WCHAR* CONTENT_TYPE_VALUE = L"Content Type";

// Under HKEY_LOCAL_MACHINE: the entry in the list of installed programs.
constexpr const WCHAR* PROGRAMS_KEY =
    L"SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" QUORIEL_CLSID_TEXT;
constexpr const WCHAR* DISPLAY_NAME_VALUE = L"DisplayName";
constexpr const WCHAR* DISPLAY_VERSION_VALUE = L"DisplayVersion";
constexpr const WCHAR* PUBLISHER_VALUE = L"Publisher";
constexpr const WCHAR* UNINSTALL_STRING_VALUE = L"UninstallString";
constexpr const WCHAR* QUIET_UNINSTALL_STRING_VALUE = L"QuietUninstallString";
constexpr const WCHAR* DISPLAY_ICON_VALUE = L"DisplayIcon";
constexpr const WCHAR* INSTALL_LOCATION_VALUE = L"InstallLocation";
constexpr const WCHAR* ESTIMATED_SIZE_VALUE = L"EstimatedSize";  // REG_DWORD, in KiB
constexpr const WCHAR* NO_MODIFY_VALUE = L"NoModify";
constexpr const WCHAR* NO_REPAIR_VALUE = L"NoRepair";
// Written on Windows 11 only, for Uninstall to remove what they name: the package the installer
// registered, and the SHA-1 thumbprint (common/thumbprint.h) of the certificate it trusted for it.
constexpr const WCHAR* PACKAGE_VALUE = L"Package";
constexpr const WCHAR* TRUSTED_CERTIFICATE_VALUE = L"TrustedCertificate";
// The "Formats" value that each account gets with its default settings at its first sign-in
// after the installation, as the setup program chose it; absent: none.
constexpr const WCHAR* ACCOUNT_FORMATS_VALUE = L"AccountFormats";

// Under HKEY_LOCAL_MACHINE: Windows runs the component's StubPath once in each account at its
// sign-in (again after an upgrade raises Version), before Explorer starts. Under a user's root
// the same path holds Windows' note that the account has run it.
constexpr const WCHAR* ACTIVE_SETUP_KEY =
    L"SOFTWARE\\Microsoft\\Active Setup\\Installed Components\\" QUORIEL_CLSID_TEXT;
constexpr const WCHAR* STUB_PATH_VALUE = L"StubPath";
constexpr const WCHAR* VERSION_VALUE = L"Version";
constexpr const WCHAR* IS_INSTALLED_VALUE = L"IsInstalled";

// Under HKEY_LOCAL_MACHINE: the Windows build number (REG_SZ), by which the installer tells
// Windows 11.
constexpr const WCHAR* WINDOWS_VERSION_KEY = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const WCHAR* BUILD_NUMBER_VALUE = L"CurrentBuildNumber";

// Under a user's root: the maker's key and the launch settings below it.
constexpr const WCHAR* MAKER_KEY = L"Software\\Vantorel";
constexpr const WCHAR* SETTINGS_SUBKEY = L"Quoriel";
constexpr const WCHAR* SETTINGS_KEY = L"Software\\Vantorel\\Quoriel";
// The launch settings' values: the template and the four hemisphere texts.
constexpr const WCHAR* SETTING_TEMPLATE = L"Object";
constexpr const WCHAR* SETTING_NORTH = L"N";
constexpr const WCHAR* SETTING_SOUTH = L"S";
constexpr const WCHAR* SETTING_EAST = L"E";
constexpr const WCHAR* SETTING_WEST = L"W";
// The content types beyond JPEG and TIFF that the user has switched on, separated by ';'.
constexpr const WCHAR* SETTING_FORMATS = L"Formats";
// The language of the account's boxes (REG_SZ): LANGUAGE_ENGLISH asks for English; absent or
// anything else keeps Japanese. The setup program and the settings window write one of these two.
constexpr const WCHAR* SETTING_LANGUAGE = L"Language";
constexpr const WCHAR* LANGUAGE_ENGLISH = L"en";
constexpr const WCHAR* LANGUAGE_JAPANESE = L"ja";

// Below the system directory: the module and, beside it, the settings program and the setup
// program.
constexpr const WCHAR* MODULE_IN_SYSTEM = L"\\ShellExt\\" QUORIEL_MODULE_FILE_TEXT;
constexpr const WCHAR* SETTINGS_PROGRAM_IN_SYSTEM = L"\\ShellExt\\" QUORIEL_SETTINGS_FILE_TEXT;
constexpr const WCHAR* SETUP_PROGRAM_IN_SYSTEM = L"\\ShellExt\\" QUORIEL_SETUP_FILE_TEXT;
// On Windows 11, the package too: each account registers it from here at its first sign-in.
constexpr const WCHAR* PACKAGE_IN_SYSTEM = L"\\ShellExt\\" QUORIEL_PACKAGE_FILE_TEXT;
