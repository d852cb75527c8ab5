#include "install/setup_window.h"

#include <shellapi.h>

#include "common/owners.h"

#include "install/exit_codes.h"
#include "install/installation_run.h"
#include "install/outcome_lines.h"
#include "install/product_version.h"
#include "install/setup_ids.h"
#include "install/setup_texts.h"
#include "quoriel_version.h"

namespace {

constexpr int FIRST_PAGE[] = {IDC_INTRO, IDC_CONTENTS, IDC_FORMATS, IDC_INSTALL, IDC_CANCEL};
constexpr int RESULT_PAGE[] = {IDC_HEADLINE, IDC_STEPS, IDC_WHERE, IDC_OPEN_SETTINGS, IDC_CLOSE};
constexpr const WCHAR* STEP_SEPARATOR = L"\r\n";
// Posted by the installing thread when it is done.
constexpr UINT WM_INSTALLED = WM_APP + 1;

// The window's state. While the installing thread runs, it alone touches choice, steps,
// outcome and the log; the window reads them once WM_INSTALLED has come.
struct SetupWindow {
    SetupWindow(const WindowTexts& texts, const std::wstring& setupFolder, bool force,
                SetupLog* log)
        : texts(texts), setupFolder(setupFolder), force(force), log(log) {}

    const WindowTexts texts;
    const std::wstring setupFolder;
    const bool force;
    SetupLog* const log;
    HWND dialog = nullptr;
    InstallChoice choice;
    std::wstring steps;
    InstallOutcome outcome;
    UniqueHandle worker;
    bool installing = false;
    bool finished = false;
    int exitCode = EXIT_CANCELLED;
};

void ShowPage(HWND dialog, const int (&page)[5], int show) {
    for (const int id : page) {
        ShowWindow(GetDlgItem(dialog, id), show);
    }
}

void FillFirstPage(HWND dialog, const SetupWindow& window) {
    const WindowTexts& texts = window.texts;
    SetDlgItemTextW(dialog, IDC_INTRO,
                    FormatText(texts.Get(IDS_INTRO), {VersionText(ThisVersion())}).c_str());
    std::wstring contents = FormatText(texts.Get(IDS_CONTENTS), {FolderOf(InstalledModulePath())});
    if (QUORIEL_TEST_BUILD) {
        contents += L"\r\n\r\n" + texts.Get(IDS_TEST_BUILD);  // before anything is trusted
    }
    SetDlgItemTextW(dialog, IDC_CONTENTS, contents.c_str());
    // Most phones save HEIC: ticked unless the user says otherwise.
    CheckDlgButton(dialog, IDC_FORMATS, BST_CHECKED);
    const HICON icon = LoadIconW(window.texts.instance, MAKEINTRESOURCEW(IDI_SETUP));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void ShowResult(HWND dialog, SetupWindow& window) {
    const InstallOutcome& outcome = window.outcome;
    const OutcomeText text = OutcomeLines(window.texts, outcome);
    SetDlgItemTextW(dialog, IDC_HEADLINE, text.headline.c_str());
    SetDlgItemTextW(dialog, IDC_STEPS, window.steps.c_str());
    SetDlgItemTextW(dialog, IDC_WHERE, text.details.c_str());
    ShowPage(dialog, FIRST_PAGE, SW_HIDE);
    ShowPage(dialog, RESULT_PAGE, SW_SHOW);
    EnableWindow(GetDlgItem(dialog, IDC_OPEN_SETTINGS), !outcome.failed);
    SendMessageW(dialog, DM_SETDEFID, IDC_CLOSE, 0);
    SetFocus(GetDlgItem(dialog, IDC_CLOSE));
    window.exitCode = ExitCodeOf(outcome);
    window.finished = true;
}

void RunSteps(SetupWindow& window) {
    const WindowTexts logTexts = LogTexts(window.texts.instance);
    try {
        window.outcome =
            RunInstallation(window.setupFolder, window.choice, [&](const StepResult& result) {
                window.steps +=
                    (window.steps.empty() ? L"" : STEP_SEPARATOR) + StepLine(window.texts, result);
                window.log->Line(StepLine(logTexts, result));
            });
    } catch (...) {
        window.outcome.failed = true;  // out of memory: what was done is listed
    }
    LogOutcome(*window.log, logTexts, window.outcome);
}

// The installation may wait for PowerShell for seconds: the window keeps painting meanwhile.
DWORD WINAPI InstallingThread(void* parameter) {
    auto* window = static_cast<SetupWindow*>(parameter);
    try {
        RunSteps(*window);
    } catch (...) {
        window->outcome.failed = true;  // nothing may leave the thread; the window still ends
    }
    PostMessageW(window->dialog, WM_INSTALLED, 0, 0);
    return 0;
}

void Install(HWND dialog, SetupWindow& window) {
    window.choice.formats = IsDlgButtonChecked(dialog, IDC_FORMATS) == BST_CHECKED
                                ? FormatsChoice::ALL
                                : FormatsChoice::NONE;
    window.choice.keepAccountsFormats = true;
    window.choice.formatsChosen = true;
    window.choice.force = window.force;
    window.dialog = dialog;
    window.installing = true;
    SetDlgItemTextW(dialog, IDC_INTRO, window.texts.Get(IDS_INSTALLING).c_str());
    EnableWindow(GetDlgItem(dialog, IDC_INSTALL), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_CANCEL), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_FORMATS), FALSE);
    window.worker.Reset(CreateThread(nullptr, 0, InstallingThread, &window, 0, nullptr));
    if (!window.worker) {
        RunSteps(window);  // no thread to be had: the window waits instead
        PostMessageW(dialog, WM_INSTALLED, 0, 0);
    }
}

void Installed(HWND dialog, SetupWindow& window) {
    if (window.worker) {
        WaitForSingleObject(window.worker.Get(), INFINITE);
        window.worker.Reset();
    }
    window.installing = false;
    ShowResult(dialog, window);
}

void OpenSettings(HWND dialog) {
    ShellExecuteW(dialog, nullptr, InstalledSettingsPath().c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

INT_PTR CALLBACK SetupProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<SetupWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillFirstPage(dialog, *reinterpret_cast<SetupWindow*>(lParam));
        return TRUE;
    }
    if (window != nullptr && message == WM_INSTALLED) {
        Installed(dialog, *window);
        return TRUE;
    }
    if (message != WM_COMMAND || window == nullptr) {
        return FALSE;
    }
    if (window->installing) {
        return TRUE;  // nothing closes the window while the installation runs
    }
    switch (LOWORD(wParam)) {
        case IDC_INSTALL:
            if (!window->finished) {
                Install(dialog, *window);
            }
            return TRUE;
        case IDC_OPEN_SETTINGS:
            OpenSettings(dialog);
            return TRUE;
        case IDC_CANCEL:  // also Escape and the title bar's close button, on either page
        case IDC_CLOSE:
            if (!window->finished) {
                window->log->Line(LogTexts(window->texts.instance).Get(IDS_CANCELLED));
            }
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int RunSetupWindow(const WindowTexts& texts, const std::wstring& setupFolder, bool force,
                   SetupLog& log) {
    SetupWindow window(texts, setupFolder, force, &log);
    const DLGTEMPLATE* resource = DialogTemplate(texts.instance, texts.language, IDD_SETUP);
    if (resource == nullptr ||
        DialogBoxIndirectParamW(texts.instance, resource, nullptr, SetupProcedure,
                                reinterpret_cast<LPARAM>(&window)) == -1) {
        return EXIT_FAILED;
    }
    return window.exitCode;
}
