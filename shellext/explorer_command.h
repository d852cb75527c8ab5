#pragma once
// The command of Windows 11's own context menu: the same item and the same command as the
// classic handler, asked for through IExplorerCommand. Explorer runs it in a surrogate process
// (dllhost.exe), not in its own; the site, when Explorer gives one, supplies the owner window.

#include <windows.h>
#include <shobjidl.h>

#include "common/owners.h"
#include "position/tiff_reader.h"

class CQuorielCommand final : public IExplorerCommand,
                              public IObjectWithSite,
                              private CQuorielReader {
  public:
    CQuorielCommand();
    ~CQuorielCommand();
    CQuorielCommand(const CQuorielCommand&) = delete;
    CQuorielCommand& operator=(const CQuorielCommand&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
    STDMETHODIMP_(ULONG) AddRef() noexcept override;
    STDMETHODIMP_(ULONG) Release() noexcept override;

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

    LONG references_ = 0;
    UniqueInterface<IUnknown> site_;
};
