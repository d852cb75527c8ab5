#include "install/setup_window.h"

#include <shellapi.h>

#include "install/exit_codes.h"
#include "install/installation_run.h"
#include "install/outcome_lines.h"
#include "install/product_version.h"
#include "install/setup_ids.h"
#include "install/setup_texts.h"

namespace {

constexpr int FIRST_PAGE[] = {IDC_INTRO, IDC_CONTENTS, IDC_FORMATS, IDC_INSTALL, IDC_CANCEL};
constexpr int RESULT_PAGE[] = {IDC_HEADLINE, IDC_STEPS, IDC_WHERE, IDC_OPEN_SETTINGS, IDC_CLOSE};
constexpr const WCHAR* STEP_SEPARATOR = L"\r\n";

struct SetupWindow {
    WindowTexts texts;
    std::wstring setupFolder;
    bool force;
    SetupLog* log;
    int exitCode = EXIT_CANCELLED;
    bool finished = false;
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
    SetDlgItemTextW(dialog, IDC_CONTENTS,
                    FormatText(texts.Get(IDS_CONTENTS), {FolderOf(InstalledModulePath())}).c_str());
    // Most phones save HEIC: ticked unless the user says otherwise.
    CheckDlgButton(dialog, IDC_FORMATS, BST_CHECKED);
    const HICON icon = LoadIconW(window.texts.instance, MAKEINTRESOURCEW(IDI_SETUP));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void ShowResult(HWND dialog, SetupWindow& window, const InstallOutcome& outcome,
                const std::wstring& steps) {
    const OutcomeText text = OutcomeLines(window.texts, outcome);
    SetDlgItemTextW(dialog, IDC_HEADLINE, text.headline.c_str());
    SetDlgItemTextW(dialog, IDC_STEPS, steps.c_str());
    SetDlgItemTextW(dialog, IDC_WHERE, text.details.c_str());
    ShowPage(dialog, FIRST_PAGE, SW_HIDE);
    ShowPage(dialog, RESULT_PAGE, SW_SHOW);
    EnableWindow(GetDlgItem(dialog, IDC_OPEN_SETTINGS), !outcome.failed);
    SendMessageW(dialog, DM_SETDEFID, IDC_CLOSE, 0);
    SetFocus(GetDlgItem(dialog, IDC_CLOSE));
    window.exitCode = ExitCodeOf(outcome);
    window.finished = true;
}

void Install(HWND dialog, SetupWindow& window) {
    InstallChoice choice;
    choice.formats = IsDlgButtonChecked(dialog, IDC_FORMATS) == BST_CHECKED ? FormatsChoice::ALL
                                                                            : FormatsChoice::NONE;
    choice.keepAccountsFormats = true;
    choice.force = window.force;
    SetDlgItemTextW(dialog, IDC_INTRO, window.texts.Get(IDS_INSTALLING).c_str());
    EnableWindow(GetDlgItem(dialog, IDC_INSTALL), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_CANCEL), FALSE);
    UpdateWindow(dialog);
    const WindowTexts logTexts = LogTexts(window.texts.instance);
    std::wstring steps;
    const InstallOutcome outcome =
        RunInstallation(window.setupFolder, choice, [&](const StepResult& result) {
            steps += (steps.empty() ? L"" : STEP_SEPARATOR) + StepLine(window.texts, result);
            window.log->Line(StepLine(logTexts, result));
        });
    LogOutcome(*window.log, logTexts, outcome);
    ShowResult(dialog, window, outcome, steps);
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
    if (message != WM_COMMAND || window == nullptr) {
        return FALSE;
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
    SetupWindow window = {texts, setupFolder, force, &log};
    const DLGTEMPLATE* resource = DialogTemplate(texts.instance, texts.language, IDD_SETUP);
    if (resource == nullptr ||
        DialogBoxIndirectParamW(texts.instance, resource, nullptr, SetupProcedure,
                                reinterpret_cast<LPARAM>(&window)) == -1) {
        return EXIT_FAILED;
    }
    return window.exitCode;
}
