#include "install/start_menu_shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include "common/owners.h"
#include "install/installation.h"

namespace {

// This thread in a COM apartment for as long as the object lives.
class Apartment {
  public:
    Apartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~Apartment() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

    // A thread already in the other kind of apartment can still make the shortcut.
    HRESULT Result() const { return result_ == RPC_E_CHANGED_MODE ? S_OK : result_; }

  private:
    HRESULT result_;
};

}  // namespace

HRESULT MakeSettingsShortcut(const SettingsShortcut& shortcut, const std::wstring& program) {
    Apartment apartment;
    if (FAILED(apartment.Result())) {
        return apartment.Result();
    }
    UniqueTaskText folder;
    HRESULT result =
        SHGetKnownFolderPath(FOLDERID_CommonPrograms, KF_FLAG_CREATE, nullptr, folder.Put());
    if (FAILED(result)) {
        return result;
    }
    UniqueInterface<IShellLinkW> link;
    result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Put()));
    if (FAILED(result)) {
        return result;
    }
    result = link.Get()->SetPath(program.c_str());
    if (FAILED(result)) {
        return result;
    }
    result = link.Get()->SetWorkingDirectory(FolderOf(program).c_str());
    if (FAILED(result)) {
        return result;
    }
    result = link.Get()->SetDescription(shortcut.description);
    if (FAILED(result)) {
        return result;
    }
    UniqueInterface<IPersistFile> file;
    result = link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()));
    if (FAILED(result)) {
        return result;
    }
    const std::wstring path = std::wstring(folder.Get()) + L"\\" + shortcut.file;
    result = file.Get()->Save(path.c_str(), TRUE);
    if (FAILED(result)) {
        return result;
    }
    // An earlier installation in the other language: one shortcut is enough.
    for (const SettingsShortcut* other : SETTINGS_SHORTCUTS) {
        if (lstrcmpW(other->file, shortcut.file) != 0) {
            DeleteFileW((std::wstring(folder.Get()) + L"\\" + other->file).c_str());
        }
    }
    return S_OK;
}
