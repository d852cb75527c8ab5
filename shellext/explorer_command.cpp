#include "shellext/explorer_command.h"

#include "common/class_id.h"
#include "common/status.h"
#include "position/command/position_command.h"
#include "shellext/menu_texts.h"
#include "shellext/module.h"
#include "shellext/resource_ids.h"
#include "shellext/selected_item.h"

namespace {

// A copy of text in memory the caller frees with CoTaskMemFree, as the shell expects.
HRESULT TaskMemoryCopy(const WCHAR* text, LPWSTR* copy) {
    const size_t bytes = (static_cast<size_t>(lstrlenW(text)) + 1) * sizeof(WCHAR);
    *copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (*copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    CopyMemory(*copy, text, bytes);
    return S_OK;
}

// Room for the module's path and ",-<icon identifier>".
constexpr DWORD ICON_LOCATION_CHARACTERS = MAX_PATH + 16;

// "<module path>,-<identifier>": the icon resource of this module, wherever it was loaded from.
HRESULT IconLocation(LPWSTR* icon) {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&IconLocation), &self)) {
        return LastErrorStatus();
    }
    WCHAR location[ICON_LOCATION_CHARACTERS];
    const DWORD length = GetModuleFileNameW(self, location, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return length == 0 ? LastErrorStatus() : HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    }
    wsprintfW(location + length, L",-%d", IDI_QUORIEL);
    return TaskMemoryCopy(location, icon);
}

}  // namespace

STDMETHODIMP CQuorielCommand::GetTitle(IShellItemArray*, LPWSTR* name) noexcept {
    return name == nullptr ? E_POINTER : TaskMemoryCopy(MENU_TEXT, name);
}

STDMETHODIMP CQuorielCommand::GetIcon(IShellItemArray*, LPWSTR* icon) noexcept {
    if (icon == nullptr) {
        return E_POINTER;
    }
    *icon = nullptr;
    return IconLocation(icon);
}

STDMETHODIMP CQuorielCommand::GetToolTip(IShellItemArray*, LPWSTR* tip) noexcept {
    return tip == nullptr ? E_POINTER : TaskMemoryCopy(HelpTextW(AccountMessageLanguage()), tip);
}

STDMETHODIMP CQuorielCommand::GetCanonicalName(GUID* name) noexcept {
    if (name == nullptr) {
        return E_POINTER;
    }
    *name = QUORIEL_COMMAND_NAME;
    return S_OK;
}

// As cheap as the classic menu's build: the extension's content type and the switch, no file
// content, so Explorer is never told to ask again later (E_PENDING).
STDMETHODIMP CQuorielCommand::GetState(IShellItemArray* items, BOOL, EXPCMDSTATE* state) noexcept {
    return ComBoundary([&] {
        if (state == nullptr) {
            return E_POINTER;
        }
        *state = ECS_HIDDEN;
        UniqueTaskText path;
        FileKind kind = FileKind::NONE;
        if (FindOfferedFile(items, &path, &kind) == S_OK) {
            *state = ECS_ENABLED;
        }
        return S_OK;
    });
}

STDMETHODIMP CQuorielCommand::Invoke(IShellItemArray* items, IBindCtx*) noexcept {
    return ComBoundary([&] {
        UniqueTaskText path;
        FileKind kind = FileKind::NONE;
        const HRESULT offered = FindOfferedFile(items, &path, &kind);
        if (offered != S_OK) {
            return FAILED(offered) ? offered : E_FAIL;  // no item would have been offered
        }
        return RunCommandForFile(*this, path.Get(), kind, OwnerWindow());
    });
}

STDMETHODIMP CQuorielCommand::GetFlags(EXPCMDFLAGS* flags) noexcept {
    if (flags == nullptr) {
        return E_POINTER;
    }
    *flags = ECF_DEFAULT;
    return S_OK;
}

STDMETHODIMP CQuorielCommand::EnumSubCommands(IEnumExplorerCommand** commands) noexcept {
    if (commands != nullptr) {
        *commands = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CQuorielCommand::SetSite(IUnknown* site) noexcept {
    if (site != nullptr) {
        site->AddRef();
    }
    site_.Reset(site);
    return S_OK;
}

STDMETHODIMP CQuorielCommand::GetSite(REFIID riid, void** ppv) noexcept {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    return site_ ? site_.Get()->QueryInterface(riid, ppv) : E_FAIL;
}

// The site's window when the site is one (IOleWindow); no owner otherwise.
HWND CQuorielCommand::OwnerWindow() const {
    UniqueInterface<IOleWindow> window;
    if (!site_ || FAILED(site_.Get()->QueryInterface(IID_IOleWindow,
                                                     reinterpret_cast<void**>(window.Put())))) {
        return nullptr;
    }
    HWND owner = nullptr;
    return SUCCEEDED(window.Get()->GetWindow(&owner)) ? owner : nullptr;
}
