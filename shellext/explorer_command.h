#pragma once
// The command of Windows 11's own context menu: the same item and the same command as the
// classic handler, asked for through IExplorerCommand. Explorer runs it in a surrogate process
// (dllhost.exe), not in its own; the site, when Explorer gives one, supplies the owner window.

#include <windows.h>
#include <shobjidl.h>

#include "common/owners.h"
#include "position/tiff_reader.h"
#include "shellext/com_object.h"

class CQuorielCommand final : public ComObject<CQuorielCommand, IExplorerCommand, IObjectWithSite>,
                              private CQuorielReader {
  public:
    // IExplorerCommand
    STDMETHODIMP GetTitle(IShellItemArray* items, LPWSTR* name) noexcept override;
    STDMETHODIMP GetIcon(IShellItemArray* items, LPWSTR* icon) noexcept override;
    STDMETHODIMP GetToolTip(IShellItemArray* items, LPWSTR* tip) noexcept override;
    STDMETHODIMP GetCanonicalName(GUID* name) noexcept override;
    STDMETHODIMP GetState(IShellItemArray* items, BOOL okToBeSlow,
                          EXPCMDSTATE* state) noexcept override;
    STDMETHODIMP Invoke(IShellItemArray* items, IBindCtx* bindContext) noexcept override;
    STDMETHODIMP GetFlags(EXPCMDFLAGS* flags) noexcept override;
    STDMETHODIMP EnumSubCommands(IEnumExplorerCommand** commands) noexcept override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) noexcept override;
    STDMETHODIMP GetSite(REFIID riid, void** ppv) noexcept override;

  private:
    HWND OwnerWindow() const;

    UniqueInterface<IUnknown> site_;
};
