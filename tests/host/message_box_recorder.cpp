#include "tests/host/message_box_recorder.h"

namespace {

constexpr const wchar_t* DIALOG_CLASS = L"#32770";
constexpr int TEXT_CONTROL = 0xFFFF;
// Windows gives the icon control id 20, Wine stc1 (0x0440).
constexpr int ICON_CONTROLS[] = {20, 0x0440};
constexpr UINT_PTR SETTLE_TIMER = 0x5152;
constexpr UINT SETTLE_MS = 40;
constexpr int BUTTONS[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};

thread_local MessageBoxRecorder* current = nullptr;

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, ARRAYSIZE(text));
    return text;
}

bool IsMessageBox(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    return lstrcmpW(name, DIALOG_CLASS) == 0;
}

UINT IconStyle(HWND box) {
    const struct {
        LPCWSTR resource;
        UINT style;
    } icons[] = {{IDI_WARNING, MB_ICONWARNING},
                 {IDI_INFORMATION, MB_ICONINFORMATION},
                 {IDI_ERROR, MB_ICONERROR},
                 {IDI_QUESTION, MB_ICONQUESTION}};
    for (int control : ICON_CONTROLS) {
        const HICON shown =
            reinterpret_cast<HICON>(SendDlgItemMessageW(box, control, STM_GETICON, 0, 0));
        for (const auto& icon : icons) {
            if (shown != nullptr && shown == LoadIconW(nullptr, icon.resource)) {
                return icon.style;
            }
        }
    }
    return 0;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder(std::deque<int> answers, Answering answering)
    : answers_(std::move(answers)), answering_(answering) {
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

MessageBoxRecorder::~MessageBoxRecorder() {
    UnhookWindowsHookEx(hook_);
    current = nullptr;
}

LRESULT CALLBACK MessageBoxRecorder::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && current != nullptr && IsMessageBox(window) &&
        GetPropW(window, L"QuorielRecorded") == nullptr) {
        SetPropW(window, L"QuorielRecorded", reinterpret_cast<HANDLE>(1));
        RecordedBox box;
        box.caption = WindowText(window);
        box.text = WindowText(GetDlgItem(window, TEXT_CONTROL));
        box.owner = GetWindow(window, GW_OWNER);
        current->boxes_.push_back(box);
        if (current->answering_ == Answering::AT_ONCE) {
            current->Answer(window);
        } else {
            SetTimer(window, SETTLE_TIMER, SETTLE_MS, OnSettled);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK MessageBoxRecorder::OnSettled(HWND box, UINT, UINT_PTR, DWORD) {
    KillTimer(box, SETTLE_TIMER);
    if (current != nullptr) {
        current->Answer(box);
    }
}

void MessageBoxRecorder::Answer(HWND window) {
    RecordedBox& box = boxes_.back();
    for (int id : BUTTONS) {
        const HWND button = GetDlgItem(window, id);
        if (button == nullptr) {
            continue;
        }
        box.buttons.push_back(id);
        if ((GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            box.defaultButton = id;
        }
    }
    box.icon = IconStyle(window);
    // Answered at once, a box may not show its default yet; every box of ours has OK.
    box.answer = box.defaultButton != 0 ? box.defaultButton : IDOK;
    if (!answers_.empty()) {
        box.answer = answers_.front();
        answers_.pop_front();
    }
    if (box.answer == ANSWER_ENTER) {
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    } else if (box.answer == ANSWER_CLOSE) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        PostMessageW(window, WM_COMMAND, box.answer, 0);
    }
}

bool IsCommandBox(const RecordedBox& box, const wchar_t* text, UINT icon, HWND owner) {
    return box.caption == L"Quoriel" && box.text == text && box.icon == icon &&
           box.owner == owner && box.buttons == std::vector<int>{IDOK} && box.defaultButton == IDOK;
}

bool IsUninstallBox(const RecordedBox& box, const wchar_t* caption, const wchar_t* text, UINT icon,
                    const std::vector<int>& buttons, int defaultButton) {
    return box.caption == caption && box.text == text && box.icon == icon && box.owner == nullptr &&
           box.buttons == buttons && box.defaultButton == defaultButton;
}
