#include "install/setup_options.h"

#include <windows.h>

namespace {

constexpr const wchar_t* LOG_OPTION = L"log";
constexpr const wchar_t* FORMATS_OPTION = L"formats";
constexpr const wchar_t* ALL_FORMATS_OPTION = L"formats:all";
constexpr const wchar_t* FORCE_OPTION = L"force";

bool Is(const wchar_t* argument, const wchar_t* name) {
    return (argument[0] == L'/' || argument[0] == L'-') && lstrcmpiW(argument + 1, name) == 0;
}

// The option's name without its "/".
const wchar_t* Bare(const wchar_t* option) {
    return option + 1;
}

}  // namespace

SetupOptions ParseSetupOptions(int argc, const wchar_t* const* argv) {
    SetupOptions options;
    // Every argument is read even after a wrong one, so that /quiet still holds.
    for (int i = 1; i < argc; ++i) {
        const wchar_t* argument = argv[i];
        if (Is(argument, Bare(QUIET_OPTION))) {
            options.quiet = true;
        } else if (Is(argument, Bare(UNINSTALL_OPTION))) {
            options.uninstall = true;
        } else if (Is(argument, FORCE_OPTION)) {
            options.force = true;
        } else if (Is(argument, FORMATS_OPTION) && options.formats == FormatsChoice::NONE) {
            options.formats = FormatsChoice::PHOTOS;
        } else if (Is(argument, ALL_FORMATS_OPTION) && options.formats == FormatsChoice::NONE) {
            options.formats = FormatsChoice::ALL;
        } else if (Is(argument, LOG_OPTION) && i + 1 < argc && options.logFile.empty() &&
                   argv[i + 1][0] != L'\0') {
            options.logFile = argv[++i];
        } else if (options.valid) {
            options.valid = false;
            options.wrong = argument;
        }
    }
    // Removal takes nothing of an installation's.
    if (options.valid && options.uninstall &&
        (options.force || options.formats != FormatsChoice::NONE)) {
        options.valid = false;
        options.wrong = UNINSTALL_OPTION;
    }
    return options;
}
