#include "tests/support/window_shot.h"

#include "common/owners.h"
#include "tests/settings/window_capture.h"

namespace {

struct HookTraits {
    using Value = HHOOK;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value hook) noexcept { UnhookWindowsHookEx(hook); }
};

}  // namespace

bool CaptureWindow(HWND dialog, const wchar_t* dllPath) {
    const UniqueModule dll(LoadLibraryW(dllPath));
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(dll.Get(), CAPTURE_HOOK_EXPORT)));
    if (hook == nullptr) {
        return false;
    }
    const Owner<HookTraits> installed(SetWindowsHookExW(WH_CALLWNDPROC, hook, dll.Get(),
                                                        GetWindowThreadProcessId(dialog, nullptr)));
    if (!installed) {
        return false;
    }
    SendMessageW(dialog, RegisterWindowMessageW(CAPTURE_MESSAGE), 0, 0);
    return true;
}
