// QuorielSetup.exe: installs the Quoriel.dll that lies beside it. Run as administrator.
// Usage: QuorielSetup.exe [/formats]   (/formats: also offer Quoriel for every photo format that
// waits for the user's switch, for the user who installs)
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/package_identity.h"
#include "install/installation.h"

namespace {

constexpr const WCHAR* FORMATS_OPTION = L"/formats";

std::wstring ModuleBesideSetup() {
    WCHAR path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return L"";
    }
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + MODULE_FILE;
}

int Fail(const char* step) {
    std::printf("Quoriel setup failed: %s (error %lu). Run it as administrator.\n", step,
                GetLastError());
    return 1;
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
    if (target.empty() || !CopyModule(ModuleBesideSetup(), target)) {
        return Fail("copying Quoriel.dll to the system directory");
    }
    if (!RegisterModule(target)) {
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
