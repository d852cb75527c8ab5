#pragma once
// A real program with a window (the settings program, the setup program), started as a child
// process and driven from another process with the messages a user's clicks and keys send to
// its controls. Its dialog is the visible "#32770" window of the child's process, a message box
// among them; standard controls answer WM_GETTEXT and the button and combo box messages across
// processes.

#include <windows.h>

#include <string>
#include <vector>

#include "common/owners.h"

// A variable the child gets on top of this process's environment, replacing one of that name.
struct EnvironmentVariable {
    std::wstring name;
    std::wstring value;
};

// A message box's text, as the static control of that identifier holds it.
constexpr int MESSAGE_TEXT = 0xFFFF;

class ProgramWindow {
  public:
    // Starts the program and waits for its dialog; Shown() says whether it came.
    explicit ProgramWindow(const std::wstring& program,
                           const std::vector<EnvironmentVariable>& extra = {},
                           const std::wstring& arguments = L"");
    // Ends a program that is still running.
    ~ProgramWindow();
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    bool Shown() const { return dialog_ != nullptr; }
    // Waits for the program's next dialog, another than the one shown (the next message box);
    // false when the program ends or none comes.
    bool NextDialog();
    HWND Dialog() const { return dialog_; }
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }

    // The dialog's caption, or a control's text.
    std::wstring Caption() const;
    std::wstring Text(int id) const;
    // WM_SETTEXT: an edit notifies its dialog with EN_CHANGE, as typing does.
    void Type(int id, const std::wstring& text) const;
    // CB_SETCURSEL, then the CBN_SELCHANGE that a user's choice sends to the dialog.
    void Choose(int comboId, int index) const;
    int Chosen(int comboId) const;
    int ItemCount(int comboId) const;
    std::wstring ItemText(int comboId, int index) const;
    bool Checked(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    // BM_CLICK: a check box toggles, a push button sends BN_CLICKED.
    void Click(int id) const;

    // A key pressed while the dialog is active: posted, so that the dialog's own loop takes it
    // as it takes a typed key (Enter for the default button, Escape for Cancel).
    void Press(WORD key) const;

    // Waits for the program to end; its exit code, or STILL_ACTIVE when it is still running.
    DWORD WaitForExit(DWORD timeoutMs = EXIT_TIMEOUT_MS) const;

    static constexpr DWORD EXIT_TIMEOUT_MS = 15000;

  private:
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND dialog_ = nullptr;
};
