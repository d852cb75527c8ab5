#include "tests/support/program_window.h"

#include <cwchar>

namespace {

constexpr DWORD SHOW_TIMEOUT_MS = 30000;
constexpr DWORD POLL_MS = 50;
constexpr UINT SEND_TIMEOUT_MS = 10000;
constexpr const wchar_t* DIALOG_CLASS = L"#32770";
constexpr wchar_t VARIABLE_SEPARATOR = L'=';

struct EnvironmentStringsTraits {
    using Value = wchar_t*;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value strings) noexcept { FreeEnvironmentStringsW(strings); }
};

bool SameName(const std::wstring& entry, const std::wstring& name) {
    return entry.size() > name.size() && entry[name.size()] == VARIABLE_SEPARATOR &&
           _wcsnicmp(entry.c_str(), name.c_str(), name.size()) == 0;
}

// This process's environment with the extra variables in place of any of the same name, as a
// block of NUL-terminated entries ending in an empty one.
std::wstring EnvironmentBlock(const std::vector<EnvironmentVariable>& extra) {
    std::vector<std::wstring> entries;
    const Owner<EnvironmentStringsTraits> strings(GetEnvironmentStringsW());
    for (const wchar_t* p = strings.Get(); p != nullptr && *p != L'\0'; p += wcslen(p) + 1) {
        entries.emplace_back(p);
    }
    std::wstring block;
    for (const std::wstring& entry : entries) {
        bool replaced = false;
        for (const EnvironmentVariable& variable : extra) {
            replaced = replaced || SameName(entry, variable.name);
        }
        if (!replaced) {
            block += entry + L'\0';
        }
    }
    for (const EnvironmentVariable& variable : extra) {
        block += variable.name + VARIABLE_SEPARATOR + variable.value + L'\0';
    }
    return block + L'\0';
}

struct DialogSearch {
    DWORD processId;
    HWND previous;  // not this one again
    HWND found;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (owner != search->processId || window == search->previous || !IsWindowVisible(window) ||
        wcscmp(className, DIALOG_CLASS) != 0) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS, &result);
    return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND window) {
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

}  // namespace

ProgramWindow::ProgramWindow(const std::wstring& program,
                             const std::vector<EnvironmentVariable>& extra,
                             const std::wstring& arguments) {
    std::wstring commandLine =
        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" ") + arguments;
    std::wstring environment = EnvironmentBlock(extra);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, &environment[0], nullptr, &startup, &started)) {
        return;
    }
    process_.Reset(started.hProcess);
    const UniqueHandle thread(started.hThread);
    processId_ = started.dwProcessId;
    NextDialog();
}

bool ProgramWindow::NextDialog() {
    const ULONGLONG deadline = GetTickCount64() + SHOW_TIMEOUT_MS;
    DialogSearch search = {processId_, dialog_, nullptr};
    while (search.found == nullptr && GetTickCount64() < deadline &&
           WaitForSingleObject(process_.Get(), POLL_MS) == WAIT_TIMEOUT) {
        EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
    }
    dialog_ = search.found;
    return dialog_ != nullptr;
}

ProgramWindow::~ProgramWindow() {
    if (process_ && WaitForExit(0) == STILL_ACTIVE) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), EXIT_TIMEOUT_MS);
    }
}

std::wstring ProgramWindow::Caption() const {
    return WindowText(dialog_);
}

std::wstring ProgramWindow::Text(int id) const {
    return WindowText(Control(id));
}

void ProgramWindow::Type(int id, const std::wstring& text) const {
    Send(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ProgramWindow::Choose(int comboId, int index) const {
    const HWND combo = Control(comboId);
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Send(dialog_, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ProgramWindow::Chosen(int comboId) const {
    return static_cast<int>(Send(Control(comboId), CB_GETCURSEL, 0, 0));
}

int ProgramWindow::ItemCount(int comboId) const {
    return static_cast<int>(Send(Control(comboId), CB_GETCOUNT, 0, 0));
}

std::wstring ProgramWindow::ItemText(int comboId, int index) const {
    const HWND combo = Control(comboId);
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

bool ProgramWindow::Checked(int id) const {
    return Send(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ProgramWindow::Click(int id) const {
    Send(Control(id), BM_CLICK, 0, 0);
}

void ProgramWindow::Press(WORD key) const {
    PostMessageW(dialog_, WM_KEYDOWN, key, 0);
    PostMessageW(dialog_, WM_KEYUP, key, 0);
}

DWORD ProgramWindow::WaitForExit(DWORD timeoutMs) const {
    if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}
