#include "tests/host/drop_list.h"

#include <shlobj.h>

#include <cstring>

UniqueGlobal MakeDropList(const std::vector<std::wstring>& paths) {
    size_t characters = 1;
    for (const std::wstring& path : paths) {
        characters += path.size() + 1;
    }
    UniqueGlobal memory(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + characters * sizeof(WCHAR)));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory.Get()));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<WCHAR*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(names, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
        names += path.size() + 1;
    }
    GlobalUnlock(memory.Get());
    return memory;
}
