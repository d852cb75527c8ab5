#include "tests/support/command_driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "common/class_id.h"

namespace {

constexpr size_t DRIVE_PREFIX = 3;  // "D:\"

// Makes an empty file at folder + the name without its drive, with the folders above it.
std::wstring MakeFileFor(const std::wstring& folder, const std::wstring& name) {
    const std::wstring relative =
        name.size() > DRIVE_PREFIX && name[1] == L':' ? name.substr(DRIVE_PREFIX) : name;
    std::wstring path = folder;
    size_t start = 0;
    for (size_t end; (end = relative.find(L'\\', start)) != std::wstring::npos; start = end + 1) {
        path += L"\\" + relative.substr(start, end - start);
        CreateDirectoryW(path.c_str(), nullptr);
    }
    path += L"\\" + relative.substr(start);
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(file) << "cannot make the test's file";
    return path;
}

}  // namespace

UniqueInterface<IShellItemArray> ShellSelection(const std::vector<std::wstring>& paths) {
    std::vector<PIDLIST_ABSOLUTE> lists;
    bool parsed = true;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE list = nullptr;
        parsed &= SUCCEEDED(SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr));
        if (list != nullptr) {
            lists.push_back(list);
        }
    }
    UniqueInterface<IShellItemArray> items;
    if (parsed) {
        SHCreateShellItemArrayFromIDLists(static_cast<UINT>(lists.size()),
                                          const_cast<PCIDLIST_ABSOLUTE_ARRAY>(lists.data()),
                                          items.Put());
    }
    for (PIDLIST_ABSOLUTE list : lists) {
        CoTaskMemFree(list);
    }
    return items;
}

STDMETHODIMP WindowSite::QueryInterface(REFIID riid, void** ppv) {
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IOleWindow) {
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IOleWindow*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP WindowSite::GetWindow(HWND* window) {
    *window = window_;
    return S_OK;
}

ExplorerCommand::ExplorerCommand(const QuorielModule& module)
    : command(module.CreateObject<IExplorerCommand>(CLSID_QuorielCommand, IID_IExplorerCommand)) {
    EXPECT_NE(command, nullptr);
}

ExplorerCommand::~ExplorerCommand() {
    if (command != nullptr) {
        EXPECT_EQ(command->Release(), 0u) << "the last release destroys the command";
    }
}

EXPCMDSTATE ExplorerCommand::State(IShellItemArray* items) const {
    EXPCMDSTATE state = ECS_DISABLED;
    EXPECT_EQ(command->GetState(items, TRUE, &state), S_OK);
    return state;
}

HRESULT ExplorerCommand::Invoke(IShellItemArray* items, HWND owner) const {
    WindowSite site(owner);
    IObjectWithSite* withSite = nullptr;
    EXPECT_EQ(command->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite)),
              S_OK);
    if (owner != nullptr) {
        withSite->SetSite(&site);
    }
    const HRESULT result = command->Invoke(items, nullptr);
    withSite->SetSite(nullptr);
    withSite->Release();
    EXPECT_EQ(site.References(), 1u) << "the site is let go";
    return result;
}

EXPCMDSTATE StateForFiles(const QuorielModule& module, const std::wstring& folder,
                          const std::vector<std::wstring>& names) {
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names) {
        paths.push_back(MakeFileFor(folder, name));
    }
    UniqueInterface<IShellItemArray> items = ShellSelection(paths);
    EXPECT_TRUE(items || paths.empty()) << "the shell made no item array";
    ExplorerCommand command(module);
    return command.State(items.Get());
}
