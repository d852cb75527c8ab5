#pragma once
// The command of Windows 11's menu, driven the way Explorer drives it: a real shell item array
// made by the shell from real files, a site that is a window, GetState and Invoke.

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "common/owners.h"
#include "tests/support/quoriel_module.h"

// A shell item array of the files at paths, as the shell makes it; null when the shell could
// not parse one of them.
UniqueInterface<IShellItemArray> ShellSelection(const std::vector<std::wstring>& paths);

// A site whose IOleWindow answers with one window, as Explorer's site does.
class WindowSite final : public IOleWindow {
  public:
    explicit WindowSite(HWND window) : window_(window) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; }
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    ULONG References() const { return references_; }

  private:
    HWND window_;
    ULONG references_ = 1;  // the test's own
};

// The module's Explorer command, released at the end of the test.
struct ExplorerCommand {
    explicit ExplorerCommand(const QuorielModule& module);
    ~ExplorerCommand();
    ExplorerCommand(const ExplorerCommand&) = delete;
    ExplorerCommand& operator=(const ExplorerCommand&) = delete;

    EXPCMDSTATE State(IShellItemArray* items) const;
    // Invoke with the site's window as the owner (none when owner is null).
    HRESULT Invoke(IShellItemArray* items, HWND owner) const;

    IExplorerCommand* command = nullptr;
};

// The state the command gives for real files of these names: each file is made under folder
// first (a name "D:\dir\a.jpg" becomes folder\dir\a.jpg), then the array is made of them.
EXPCMDSTATE StateForFiles(const QuorielModule& module, const std::wstring& folder,
                          const std::vector<std::wstring>& names);
