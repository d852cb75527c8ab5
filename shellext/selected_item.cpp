#include "shellext/selected_item.h"

#include "offer/content_type.h"

namespace {

constexpr DWORD ONLY_ITEM = 0;

// S_OK with the file-system path of the one item of items, S_FALSE when there is none.
HRESULT OnlyItemPath(IShellItemArray* items, UniqueTaskText* path) {
    if (items == nullptr) {
        return S_FALSE;
    }
    DWORD count = 0;
    HRESULT result = items->GetCount(&count);
    if (FAILED(result)) {
        return result;
    }
    if (count != 1) {
        return S_FALSE;
    }
    UniqueInterface<IShellItem> item;
    result = items->GetItemAt(ONLY_ITEM, item.Put());
    if (FAILED(result)) {
        return result;
    }
    // A virtual item (a phone's storage, a search result of a library) has no such path.
    if (FAILED(item.Get()->GetDisplayName(SIGDN_FILESYSPATH, path->Put())) || !*path) {
        return S_FALSE;
    }
    return S_OK;
}

}  // namespace

HRESULT FindOfferedFile(IShellItemArray* items, UniqueTaskText* path, FileKind* kind) {
    *kind = FileKind::NONE;
    HRESULT result = OnlyItemPath(items, path);
    if (result != S_OK) {
        return result;
    }
    result = FindFileKind(path->Get(), kind);
    if (result != S_OK) {
        return result;
    }
    return *kind == FileKind::NONE ? S_FALSE : S_OK;
}
