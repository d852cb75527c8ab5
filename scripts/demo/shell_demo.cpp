// Right-clicks one photo as Explorer does, with Quoriel installed in this Wine prefix, chooses
// "Quoriel", and prints what the user would see. Message boxes are answered and printed.
// Usage: shell-demo.exe PHOTO
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "tests/host/message_box_recorder.h"
#include "tests/host/shell_host.h"

namespace {

// UTF-8 whatever the console's code page: the text goes to a Linux terminal.
void Print(const std::wstring& text) {
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fwrite("\n", 1, 1, stdout);
}

std::wstring Hex(HRESULT result) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        Print(L"usage: shell-demo.exe PHOTO");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ShellHostRun run;
    {
        MessageBoxRecorder boxes;
        run = RightClickAndChoose(argv[1], nullptr);
        Print(L"photo:        " + std::wstring(argv[1]));
        Print(L"handler from: " + run.modulePath + L" (CoCreateInstance " + Hex(run.created) +
              L")");
        Print(L"menu item:    " + (run.item.empty() ? L"(none)" : run.item));
        Print(L"help text:    " + run.helpText);
        Print(L"command:      " + Hex(run.invoked));
        for (const RecordedBox& box : boxes.Boxes()) {
            Print(L"message box:  [" + box.caption + L"] " + box.text);
        }
    }
    CoFreeUnusedLibraries();
    CoUninitialize();
    return run.invoked == S_OK ? 0 : 1;
}
