#include "tests/host/shell_host.h"

#include <shlobj.h>

#include "common/class_id.h"
#include "tests/host/test_data_object.h"

namespace {

constexpr UINT FIRST_ID = 0x7000;
constexpr UINT LAST_ID = 0x7FFF;

template <typename Interface>
struct Releaser {
    Interface* pointer = nullptr;
    ~Releaser() {
        if (pointer != nullptr) {
            pointer->Release();
        }
    }
};

std::wstring ModuleOf(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        static_cast<LPCWSTR>(address), &module);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

void ReadItem(HMENU menu, ShellHostRun* run) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = ARRAYSIZE(text);
        if (GetMenuItemInfoW(menu, i, TRUE, &item) && item.wID == FIRST_ID) {
            run->item = text;
        }
    }
}

}  // namespace

ShellHostRun RightClickAndChoose(const std::wstring& file, HWND owner) {
    ShellHostRun run;
    Releaser<IShellExtInit> init;
    run.created = CoCreateInstance(CLSID_Quoriel, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                   reinterpret_cast<void**>(&init.pointer));
    if (run.created != S_OK) {
        return run;
    }
    // The vtable lives in the module that made the object.
    run.modulePath = ModuleOf(*reinterpret_cast<void**>(init.pointer));
    TestDataObject selection({file});
    run.initialized = init.pointer->Initialize(nullptr, &selection, nullptr);
    Releaser<IContextMenu> menu;
    init.pointer->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu.pointer));
    const HMENU popup = CreatePopupMenu();
    run.menu = menu.pointer->QueryContextMenu(popup, 0, FIRST_ID, LAST_ID, CMF_NORMAL);
    ReadItem(popup, &run);
    DestroyMenu(popup);
    if (run.item.empty()) {
        return run;
    }
    wchar_t help[128] = {};
    menu.pointer->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<CHAR*>(help),
                                   ARRAYSIZE(help));
    run.helpText = help;
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    invoke.hwnd = owner;
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    invoke.nShow = SW_SHOWNORMAL;
    run.invoked = menu.pointer->InvokeCommand(&invoke);
    return run;
}
