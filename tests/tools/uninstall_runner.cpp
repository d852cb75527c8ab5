// Calls the module's Uninstall in a process of its own (the tests start it with a limited
// token) and writes the message boxes it showed to a file: per box its caption, text, icon,
// buttons and default button, fields ended by U+001F and boxes by U+001E.
#include <windows.h>

#include <string>

#include "common/owners.h"
#include "tests/host/message_box_recorder.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    UniqueModule module(LoadLibraryW(argv[1]));
    const auto uninstall = reinterpret_cast<void(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module.Get(), "Uninstall")));
    if (uninstall == nullptr) {
        return 3;
    }
    std::wstring report;
    {
        MessageBoxRecorder boxes;
        uninstall();
        for (const RecordedBox& box : boxes.Boxes()) {
            std::wstring buttons;
            for (int id : box.buttons) {
                buttons += std::to_wstring(id) + L",";
            }
            report += box.caption + L'\x1F' + box.text + L'\x1F' + std::to_wstring(box.icon) +
                      L'\x1F' + buttons + L'\x1F' + std::to_wstring(box.defaultButton) + L'\x1F' +
                      (box.owner == nullptr ? L"0" : L"1") + L'\x1E';
        }
    }
    UniqueFile file(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)),
              &written, nullptr);
    return 0;
}
