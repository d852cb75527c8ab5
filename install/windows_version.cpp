#include "install/windows_version.h"

#include <windows.h>

#include <cstdint>

#include "common/registry_names.h"

namespace {

constexpr uint64_t WINDOWS_11_BUILD = 22000;
// Build numbers have five digits; ten leave room, and cannot overflow 64 bits.
constexpr DWORD BUILD_CHARACTERS = 11;
constexpr size_t MOST_DIGITS = BUILD_CHARACTERS - 1;
constexpr uint64_t DECIMAL_BASE = 10;

}  // namespace

bool IsWindows11OrLater() {
    WCHAR text[BUILD_CHARACTERS] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, WINDOWS_VERSION_KEY, BUILD_NUMBER_VALUE, RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS) {
        return false;
    }
    uint64_t build = 0;
    size_t digits = 0;
    for (; digits < MOST_DIGITS && text[digits] != L'\0'; ++digits) {
        if (text[digits] < L'0' || text[digits] > L'9') {
            return false;
        }
        build = build * DECIMAL_BASE + static_cast<uint64_t>(text[digits] - L'0');
    }
    return digits != 0 && build >= WINDOWS_11_BUILD;
}
