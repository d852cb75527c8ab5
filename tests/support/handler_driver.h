#pragma once
// A handler of the built module and a host menu, driven the way Explorer drives them.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/quoriel_module.h"

// A handler with its two interfaces, released at the end of the test.
struct Handler {
    explicit Handler(const QuorielModule& module)
        : menu(module.CreateHandler<IContextMenu>(IID_IContextMenu)) {
        EXPECT_NE(menu, nullptr);
        menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init));
    }
    ~Handler() {
        init->Release();
        EXPECT_EQ(menu->Release(), 0u) << "the last release destroys the handler";
    }
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

    // The command as the host invokes it: command offset 0, owned by owner.
    HRESULT Invoke(HWND owner) const {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.hwnd = owner;
        info.lpVerb = MAKEINTRESOURCEA(0);
        info.nShow = SW_SHOWNORMAL;
        return menu->InvokeCommand(&info);
    }
    IContextMenu* menu = nullptr;
    IShellExtInit* init = nullptr;
};

// A popup menu with two items of the host's own, as Explorer's menu has before the handlers.
struct HostMenu {
    HostMenu() : menu(CreatePopupMenu()) {
        AppendMenuW(menu, MF_STRING, 1, L"Open");
        AppendMenuW(menu, MF_STRING, 2, L"Print");
    }
    ~HostMenu() { DestroyMenu(menu); }
    HostMenu(const HostMenu&) = delete;
    HostMenu& operator=(const HostMenu&) = delete;

    int Count() const { return GetMenuItemCount(menu); }
    std::wstring TextAt(UINT position, UINT* id) const {
        wchar_t text[64] = {};
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        item.dwTypeData = text;
        item.cch = ARRAYSIZE(text);
        EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &item));
        *id = item.wID;
        return text;
    }
    HMENU menu;
};
