#include "tests/support/shortcut_file.h"

#include <objbase.h>
#include <shlobj.h>

#include "common/owners.h"

namespace {

constexpr int SHORTCUT_TEXT_CHARACTERS = 1024;

struct Apartment {
    Apartment() : result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~Apartment() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    HRESULT result;
};

}  // namespace

std::wstring CommonProgramsFolder() {
    UniqueTaskText folder;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_CommonPrograms, 0, nullptr, folder.Put()))) {
        return L"(no Programs folder)";
    }
    return folder.Get();
}

std::optional<ShortcutFile> ReadShortcut(const std::wstring& path) {
    const Apartment apartment;
    UniqueInterface<IShellLinkW> link;
    UniqueInterface<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))) ||
        FAILED(
            link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))) ||
        FAILED(file.Get()->Load(path.c_str(), STGM_READ))) {
        return std::nullopt;
    }
    wchar_t target[SHORTCUT_TEXT_CHARACTERS] = {};
    wchar_t description[SHORTCUT_TEXT_CHARACTERS] = {};
    // SLGP_RAWPATH: the path as stored, not resolved against what exists now.
    if (FAILED(link.Get()->GetPath(target, SHORTCUT_TEXT_CHARACTERS, nullptr, SLGP_RAWPATH)) ||
        FAILED(link.Get()->GetDescription(description, SHORTCUT_TEXT_CHARACTERS))) {
        return std::nullopt;
    }
    return ShortcutFile{target, description};
}
