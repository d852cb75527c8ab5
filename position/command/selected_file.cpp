#include "position/command/selected_file.h"

#include "common/status.h"

namespace {

constexpr UINT FIRST_FILE = 0;

}  // namespace

UniqueBuffer<WCHAR> FirstFileName(HDROP drop) {
    const UINT length = DragQueryFileW(drop, FIRST_FILE, nullptr, 0);
    UniqueBuffer<WCHAR> path(AllocateArray<WCHAR>(size_t{length} + 1));
    if (path) {
        path.Get()[0] = L'\0';
        DragQueryFileW(drop, FIRST_FILE, path.Get(), length + 1);
    }
    return path;
}

HRESULT OpenSelectedFile(const WCHAR* path, UniqueFile* file) {
    file->Reset(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!*file) {
        return LastErrorStatus();
    }
    return S_OK;
}
