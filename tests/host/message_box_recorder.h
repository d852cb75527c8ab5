#pragma once
// Records every message box that the calling thread shows, and answers it. A WH_CBT hook sees
// the box when it activates; a timer reads its buttons once they are settled and answers with
// the next scripted answer, or with the box's default button when the script is used up.

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct RecordedBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    std::vector<int> buttons;  // IDOK, IDCANCEL, ... in that order, as present
    int defaultButton = 0;
    UINT icon = 0;   // MB_ICONWARNING, MB_ICONINFORMATION, MB_ICONERROR, MB_ICONQUESTION or 0
    int answer = 0;  // what the recorder did: a button identifier, ANSWER_ENTER or ANSWER_CLOSE
};

// Scripted answers besides the button identifiers: Enter pressed on the box (its default
// button answers), or the box closed (Escape, the close button).
constexpr int ANSWER_ENTER = -1;
constexpr int ANSWER_CLOSE = -2;

// When a box is answered: once its buttons have settled, so that they can be read (the
// default), or at once, for campaigns of thousands of boxes whose text is all that matters.
enum class Answering { SETTLED, AT_ONCE };

class MessageBoxRecorder {
  public:
    explicit MessageBoxRecorder(std::deque<int> answers = {},
                                Answering answering = Answering::SETTLED);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<RecordedBox>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

  private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnSettled(HWND box, UINT, UINT_PTR, DWORD);
    void Answer(HWND box);

    HHOOK hook_ = nullptr;
    std::deque<int> answers_;
    Answering answering_;
    std::vector<RecordedBox> boxes_;
};

// A box as the command shows it: caption "Quoriel", OK only, owned by owner.
bool IsCommandBox(const RecordedBox& box, const wchar_t* text, UINT icon, HWND owner);

// A box as the uninstaller shows it: its caption, no owner.
bool IsUninstallBox(const RecordedBox& box, const wchar_t* caption, const wchar_t* text, UINT icon,
                    const std::vector<int>& buttons, int defaultButton);
