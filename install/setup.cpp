// QuorielSetup.exe: installs the Quoriel.dll that lies beside it. Run as administrator.
// Usage: QuorielSetup.exe [/formats]   (/formats: also offer Quoriel for every photo format that
// waits for the user's switch, for the user who installs)
// It puts the settings program beside the module and a shortcut to it into the Start menu for
// all users; its last line says where that is.
// On Windows 11 it also registers the package beside it (Quoriel.msix, signed by Quoriel.cer)
// for the user who runs it, so that Quoriel is in Windows 11's own menu; when that cannot be
// done, Quoriel is under "Show more options" as on earlier Windows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/package_identity.h"
#include "install/installation.h"
#include "install/package_registration.h"
#include "install/start_menu_shortcut.h"
#include "install/windows_version.h"

namespace {

constexpr const WCHAR* FORMATS_OPTION = L"/formats";

// The folder the installer lies in, without a trailing backslash.
std::wstring SetupFolder() {
    WCHAR path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return L"";
    }
    return FolderOf(std::wstring(path, length));
}

int Fail(const char* step) {
    std::printf("Quoriel setup failed: %s (error %lu). Run it as administrator.\n", step,
                GetLastError());
    return 1;
}

int FailWith(const char* step, HRESULT result) {
    std::printf("Quoriel setup failed: %s (error 0x%08lX). Run it as administrator.\n", step,
                static_cast<unsigned long>(result));
    return 1;
}

// A line in the console's code page (the system's when there is no console), as the console
// shows text: the shortcut's name may be Japanese.
void PrintLine(const std::wstring& line) {
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0) {
        codePage = CP_ACP;
    }
    const int bytes =
        WideCharToMultiByte(codePage, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return;
    }
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, line.c_str(), -1, text.data(), bytes, nullptr, nullptr);
    std::printf("%s\n", text.c_str());
}

// On Windows 11 the package, or else the classic handler; before Windows 11 the classic handler.
bool RegisterMenu(const std::wstring& setupFolder, const std::wstring& target) {
    if (IsWindows11OrLater()) {
        const PackageRegistration package = RegisterPackage(setupFolder, FolderOf(target));
        if (package.registered) {
            return RecordPackage(package.thumbprint);
        }
        std::printf(
            "Windows 11's own menu could not be set up (%s); Quoriel is under \"Show more "
            "options\" instead.\n",
            package.failure.c_str());
    }
    return RegisterClassicHandler();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool formats = false;
    for (int i = 1; i < argc; ++i) {
        if (lstrcmpiW(argv[i], FORMATS_OPTION) != 0) {
            std::printf("usage: QuorielSetup.exe [/formats]\n");
            return 2;
        }
        formats = true;
    }
    const std::wstring setupFolder = SetupFolder();
    const std::wstring target = InstalledModulePath();
    if (target.empty() || !CopyModule(setupFolder + L"\\" + MODULE_FILE, target)) {
        return Fail("copying Quoriel.dll to the system directory");
    }
    const std::wstring settings = InstalledSettingsPath();
    if (settings.empty() || !CopyModule(setupFolder + L"\\" + SETTINGS_FILE, settings)) {
        return Fail("copying QuorielSettings.exe beside Quoriel.dll");
    }
    if (!RegisterModule(target) || !RegisterMenu(setupFolder, target)) {
        return Fail("registering the context-menu handler");
    }
    if (!WriteDefaultSettings()) {
        return Fail("writing the launch settings");
    }
    if (formats && !SwitchOnPhotoFormats()) {
        return Fail("switching on the photo formats");
    }
    const SettingsShortcut& shortcut = ShortcutFor(GetUserDefaultUILanguage());
    const HRESULT made = MakeSettingsShortcut(shortcut, settings);
    if (FAILED(made)) {
        return FailWith("making the Start menu shortcut", made);
    }
    std::printf("Quoriel is installed: %ls\n", target.c_str());
    PrintLine(std::wstring(L"Settings: Start menu > ") + shortcut.name + L" (" + settings + L")");
    return 0;
}
