// QuorielSetup.exe: installs the Quoriel.dll, QuorielSettings.exe, Quoriel.msix and Quoriel.cer
// that lie beside it, and removes Quoriel again (/uninstall). Its manifest asks for elevation.
// Without options it shows its window in the user's language; with /quiet it shows nothing and
// answers with Windows Installer's exit codes (install/setup_options.h, install/exit_codes.h).
// Its lines, in English, go to the log that /log names and to the console it was started from.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "common/ui_language.h"
#include "install/exit_codes.h"
#include "install/installation_run.h"
#include "install/outcome_lines.h"
#include "install/product_version.h"
#include "install/removal.h"
#include "install/setup_ids.h"
#include "install/setup_options.h"
#include "install/setup_texts.h"
#include "install/setup_window.h"

namespace {

constexpr const WCHAR* TITLE_LINE = L"Quoriel Setup ";
constexpr const WCHAR* KERNEL = L"kernel32.dll";
constexpr const char* SET_DLL_DIRECTORIES = "SetDefaultDllDirectories";
constexpr DWORD SEARCH_SYSTEM32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// The program runs elevated, often from a downloads folder, where anyone may have put a DLL of
// a system DLL's name: DLLs loaded by name from here on (crypt32 on first use among them) come
// from the system folder only. Looked up at run time: Windows 7 without its update lacks it.
void LoadFromSystemFolderOnly() {
    const HMODULE kernel = GetModuleHandleW(KERNEL);
    const auto setDirectories = reinterpret_cast<SetDllDirectoriesFunction>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, SET_DLL_DIRECTORIES) : nullptr));
    if (setDirectories != nullptr) {
        setDirectories(SEARCH_SYSTEM32);
    }
}

struct ArgumentsTraits {
    using Value = LPWSTR*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value arguments) noexcept { LocalFree(arguments); }
};

// The folder the setup program lies in, without a trailing backslash.
std::wstring SetupFolder() {
    const std::wstring program = ThisProgramPath();
    return program.empty() ? L"" : FolderOf(program);
}

// Said on the output, and in a box unless /quiet: a shortcut with a wrong option would
// otherwise end without a word.
int WrongOptions(SetupLog& log, const WindowTexts& logTexts, const SetupOptions& options) {
    log.Line(FormatText(logTexts.Get(IDS_WRONG_OPTION), {options.wrong}));
    log.Line(SETUP_USAGE);
    if (!options.quiet) {
        const WindowTexts texts = {logTexts.instance, WindowLanguage()};
        const std::wstring text =
            FormatText(texts.Get(IDS_WRONG_OPTION), {options.wrong}) + L"\n\n" + SETUP_USAGE;
        MessageBoxW(nullptr, text.c_str(), texts.Get(IDS_CAPTION).c_str(), MB_OK | MB_ICONERROR);
    }
    return EXIT_BAD_ARGUMENTS;
}

int Remove(SetupLog& log, const WindowTexts& logTexts, bool quiet) {
    const Removal removal = quiet ? UninstallQuietly() : UninstallWithBoxes();
    switch (removal) {
        case Removal::REMOVED:
            log.Line(logTexts.Get(IDS_REMOVED));
            return EXIT_DONE;
        case Removal::CANCELLED:
            log.Line(logTexts.Get(IDS_CANCELLED));
            return EXIT_CANCELLED;
        case Removal::REFUSED:
            log.Line(logTexts.Get(IDS_REMOVAL_REFUSED));
            return EXIT_FAILED;
        case Removal::INCOMPLETE:
            break;
    }
    log.Line(logTexts.Get(IDS_NOT_REMOVED));
    return EXIT_FAILED;
}

int InstallQuietly(SetupLog& log, const WindowTexts& logTexts, const SetupOptions& options) {
    InstallChoice choice;
    choice.formats = options.formats;
    choice.formatsChosen = options.formats != FormatsChoice::NONE;
    choice.force = options.force;
    const InstallOutcome outcome =
        RunInstallation(SetupFolder(), choice,
                        [&](const StepResult& result) { log.Line(StepLine(logTexts, result)); });
    LogOutcome(log, logTexts, outcome);
    return ExitCodeOf(outcome);
}

int Run(HINSTANCE instance) {
    int count = 0;
    const Owner<ArgumentsTraits> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) {
        return EXIT_FAILED;
    }
    SetupLog log;
    const WindowTexts logTexts = LogTexts(instance);
    const SetupOptions options = ParseSetupOptions(count, arguments.Get());
    if (!options.valid) {
        return WrongOptions(log, logTexts, options);
    }
    if (!options.logFile.empty()) {
        const DWORD error = log.OpenFile(options.logFile);
        if (error != ERROR_SUCCESS) {
            log.Line(ErrorLine(logTexts, IDS_LOG_NOT_WRITTEN, options.logFile,
                               HRESULT_FROM_WIN32(error)));
            return EXIT_FAILED;
        }
    }
    log.Line(TITLE_LINE + VersionText(ThisVersion()));
    if (options.uninstall) {
        return Remove(log, logTexts, options.quiet);
    }
    if (options.quiet) {
        return InstallQuietly(log, logTexts, options);
    }
    const INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return RunSetupWindow({instance, WindowLanguage()}, SetupFolder(), options.force, log);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    LoadFromSystemFolderOnly();
    try {
        return Run(instance);
    } catch (...) {
        return EXIT_FAILED;
    }
}
