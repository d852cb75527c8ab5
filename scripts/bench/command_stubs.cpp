#include "scripts/bench/command_stubs.h"

#include <windows.h>

#include "common/messages.h"
#include "scripts/bench/iat_counters.h"

namespace {

constexpr const char* USER32 = "user32.dll";
constexpr const char* ADVAPI32 = "advapi32.dll";

CommandStubCounters counters;

// The settings key is the only key the readers' code opens.
LONG WINAPI MissingKey(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY key) {
    *key = nullptr;
    ++counters.settingsOpens;
    return ERROR_FILE_NOT_FOUND;
}

int WINAPI AnsweredBox(HWND, LPCWSTR text, LPCWSTR, UINT) {
    if (lstrcmpW(text, TEXT_NO_POSITION) == 0) {
        ++counters.noPositionBoxes;
    } else if (lstrcmpW(text, TEXT_NO_EXIF) == 0) {
        ++counters.noExifBoxes;
    } else {
        ++counters.otherBoxes;
    }
    return IDOK;
}

}  // namespace

bool InstallCommandStubs() {
    return RedirectImport(ADVAPI32, "RegOpenKeyExW", reinterpret_cast<void*>(&MissingKey),
                          nullptr) &&
           RedirectImport(USER32, "MessageBoxW", reinterpret_cast<void*>(&AnsweredBox), nullptr);
}

void ResetCommandStubCounters() {
    counters = CommandStubCounters{};
}

CommandStubCounters CurrentCommandStubCounters() {
    return counters;
}
