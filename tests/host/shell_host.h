#pragma once
// Does with one file what Explorer does when the user right-clicks it and chooses "Quoriel":
// COM activation through the registry, Initialize with the selection, the menu, the help
// text, and the command.

#include <windows.h>

#include <string>

struct ShellHostRun {
    HRESULT created = E_FAIL;      // CoCreateInstance
    HRESULT initialized = E_FAIL;  // IShellExtInit::Initialize
    HRESULT menu = E_FAIL;         // IContextMenu::QueryContextMenu
    std::wstring item;             // the text of the item it added, if any
    std::wstring helpText;         // GCS_HELPTEXTW for that item
    HRESULT invoked = E_FAIL;      // IContextMenu::InvokeCommand
    std::wstring modulePath;       // where COM loaded the handler from
};

// Call between CoInitializeEx and CoUninitialize, on an apartment thread.
ShellHostRun RightClickAndChoose(const std::wstring& file, HWND owner);
