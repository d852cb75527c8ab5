#include "settings/format_box_layout.h"

#include "common/formats.h"
#include "settings/formats_boxes.h"
#include "settings/settings_ids.h"

namespace {

// In dialog units: where the first box sits inside its frame, the rows a frame holds, a box's
// height and the distance from one row to the next.
constexpr int INSET_LEFT = 7;
constexpr int INSET_TOP = 12;
constexpr int INSET_RIGHT = 7;
constexpr int ROWS = 2;
constexpr int BOX_HEIGHT = 10;
constexpr int ROW_STEP = 12;
// What a box leaves free before the next column.
constexpr int COLUMN_GAP = 4;
constexpr DWORD BOX_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;

constexpr struct {
    FormatGroup group;
    int frame;
} FRAMES[] = {{FormatGroup::PHOTO, IDC_PHOTOS_GROUP},
              {FormatGroup::VIDEO, IDC_VIDEOS_GROUP},
              {FormatGroup::RAW, IDC_RAWS_GROUP}};

int CountInGroup(FormatGroup group) {
    int count = 0;
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        count += SwitchedFormat(i).group == group ? 1 : 0;
    }
    return count;
}

// Dialog units across and down in the dialog's pixels.
int Across(HWND dialog, int units) {
    RECT rect = {units, 0, 0, 0};
    MapDialogRect(dialog, &rect);
    return rect.left;
}

int Down(HWND dialog, int units) {
    RECT rect = {0, units, 0, 0};
    MapDialogRect(dialog, &rect);
    return rect.top;
}

void CreateGroupBoxes(HWND dialog, FormatGroup group, int frameId) {
    const HWND frame = GetDlgItem(dialog, frameId);
    const int count = CountInGroup(group);
    if (frame == nullptr || count == 0) {
        return;
    }
    RECT area = {};
    GetWindowRect(frame, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    const int left = area.left + Across(dialog, INSET_LEFT);
    const int top = area.top + Down(dialog, INSET_TOP);
    const int columns = (count + ROWS - 1) / ROWS;
    const int step = (area.right - Across(dialog, INSET_RIGHT) - left) / columns;
    const int width = step - Across(dialog, COLUMN_GAP);
    const int height = Down(dialog, BOX_HEIGHT);
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    const WPARAM font = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HWND previous = frame;
    int place = 0;
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        if (SwitchedFormat(i).group != group) {
            continue;
        }
        const int x = left + (place % columns) * step;
        const int y = top + Down(dialog, (place / columns) * ROW_STEP);
        ++place;
        const HWND created = CreateWindowExW(
            WS_EX_NOPARENTNOTIFY, L"Button", L"", BOX_STYLE, x, y, width, height, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FORMAT_BASE + i)), instance, nullptr);
        if (created == nullptr) {
            continue;
        }
        SendMessageW(created, WM_SETFONT, font, FALSE);
        // The tab order is the windows' order: each box right after the one before it.
        SetWindowPos(created, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = created;
    }
}

}  // namespace

void CreateFormatBoxes(HWND dialog) {
    for (const auto& frame : FRAMES) {
        CreateGroupBoxes(dialog, frame.group, frame.frame);
    }
}
