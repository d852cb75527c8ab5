#include "shellext/quoriel.h"

#include "common/owners.h"
#include "common/package_presence.h"
#include "common/status.h"
#include "offer/content_type.h"
#include "position/command/position_command.h"
#include "position/command/selected_file.h"
#include "shellext/menu_texts.h"
#include "shellext/module.h"

namespace {

constexpr UINT THE_COMMAND = 0;
constexpr UINT QUERY_FILE_COUNT = 0xFFFFFFFF;

FORMATETC DropListFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The item's help text, or an empty one for any other command, into the host's buffer of
// characters (wide or narrow). The language is read when the item is pointed at, never while
// the menu is built.
void CopyHelpText(bool wide, bool ours, CHAR* name, int characters) {
    const MessageLanguage language = ours ? AccountMessageLanguage() : MessageLanguage::JAPANESE;
    if (wide) {
        lstrcpynW(reinterpret_cast<WCHAR*>(name), ours ? HelpTextW(language) : L"", characters);
    } else {
        lstrcpynA(name, ours ? HelpTextA(language) : "", characters);
    }
}

}  // namespace

STDMETHODIMP CQuoriel::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) noexcept {
    return ComBoundary([&] {
        medium_.Release();
        if (data == nullptr) {
            return E_INVALIDARG;
        }
        FORMATETC format = DropListFormat();
        const HRESULT result = data->GetData(&format, medium_.Put());
        if (result != S_OK) {
            medium_.Forget();
            return result == E_OUTOFMEMORY ? E_OUTOFMEMORY : E_FAIL;
        }
        // A data object that answers with another kind of medium gives no drop list.
        if (medium_.Drop() == nullptr) {
            medium_.Release();
            return E_FAIL;
        }
        return S_OK;
    });
}

STDMETHODIMP CQuoriel::QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT,
                                        UINT flags) noexcept {
    return ComBoundary([&] { return BuildMenu(menu, indexMenu, idCmdFirst, flags); });
}

HRESULT CQuoriel::BuildMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT flags) {
    if ((flags & CMF_DEFAULTONLY) != 0) {
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    }
    const HDROP drop = medium_.Drop();
    if (drop == nullptr) {
        return E_UNEXPECTED;  // no selection was ever handed over
    }
    if (DragQueryFileW(drop, QUERY_FILE_COUNT, nullptr, 0) != 1) {
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    }
    const UniqueBuffer<WCHAR> path = FirstFileName(drop);
    if (!path) {
        return E_OUTOFMEMORY;
    }
    FileKind kind = FileKind::NONE;
    const HRESULT result = FindFileKind(path.Get(), &kind);
    if (result != S_OK || kind == FileKind::NONE) {
        return result;
    }
    // Where Windows 11's package is registered for the account, its command is in this menu too.
    if (PackageRegisteredForUser()) {
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    }
    fileKind_ = kind;
    WCHAR text[ARRAYSIZE(MENU_TEXT)];
    lstrcpynW(text, MENU_TEXT, ARRAYSIZE(text));
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_TYPE;
    item.fType = MFT_STRING;
    item.wID = idCmdFirst;
    item.dwTypeData = text;
    InsertMenuItemW(menu, indexMenu, TRUE, &item);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

STDMETHODIMP CQuoriel::InvokeCommand(CMINVOKECOMMANDINFO* info) noexcept {
    return ComBoundary([&] {
        if (fileKind_ == FileKind::NONE) {
            return E_FAIL;  // no menu item was ever offered
        }
        return RunPositionCommand(*this, info, medium_.Drop(), fileKind_);
    });
}

STDMETHODIMP CQuoriel::GetCommandString(UINT_PTR idCmd, UINT type, UINT*, CHAR* name,
                                        UINT cchMax) noexcept {
    return ComBoundary([&] {
        if (type != GCS_HELPTEXTA && type != GCS_HELPTEXTW) {
            return E_NOTIMPL;
        }
        if (name == nullptr) {
            return E_POINTER;
        }
        CopyHelpText(type == GCS_HELPTEXTW, idCmd == THE_COMMAND, name, static_cast<int>(cchMax));
        return S_OK;
    });
}
