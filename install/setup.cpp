// QuorielSetup.exe: installs the Quoriel.dll that lies beside it. Run as administrator.
// Usage: QuorielSetup.exe [/formats]   (/formats: also offer Quoriel for every photo format that
// waits for the user's switch, for the user who installs)
// On Windows 11 it also registers the package beside it (Quoriel.msix, signed by Quoriel.cer)
// for the user who runs it, so that Quoriel is in Windows 11's own menu; when that cannot be
// done, Quoriel is under "Show more options" as on earlier Windows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/package_identity.h"
#include "install/installation.h"
#include "install/package_registration.h"
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
    const std::wstring file(path, length);
    return file.substr(0, file.find_last_of(L'\\'));
}

std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L'\\'));
}

int Fail(const char* step) {
    std::printf("Quoriel setup failed: %s (error %lu). Run it as administrator.\n", step,
                GetLastError());
    return 1;
}

// On Windows 11 the package, or else the classic handler; before Windows 11 the classic handler.
bool RegisterMenu(const std::wstring& target) {
    if (IsWindows11OrLater()) {
        const PackageRegistration package = RegisterPackage(SetupFolder(), FolderOf(target));
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
    const std::wstring target = InstalledModulePath();
    if (target.empty() || !CopyModule(SetupFolder() + L"\\" + MODULE_FILE, target)) {
        return Fail("copying Quoriel.dll to the system directory");
    }
    if (!RegisterModule(target) || !RegisterMenu(target)) {
        return Fail("registering the context-menu handler");
    }
    if (!WriteDefaultSettings()) {
        return Fail("writing the launch settings");
    }
    if (formats && !SwitchOnPhotoFormats()) {
        return Fail("switching on the photo formats");
    }
    std::printf("Quoriel is installed: %ls\n", target.c_str());
    return 0;
}
