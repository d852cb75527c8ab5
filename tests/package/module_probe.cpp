// Tells what the built module answers for the Windows 11 package's manifest to be checked
// against: whether DllGetClassObject serves a class, and the module's file version.
//
//   module-probe MODULE CLASS-ID      CLASS-ID as a manifest writes it, without braces
//
// prints "class-object 0x<HRESULT>" and "file-version a.b.c.d", one a line; exits 2 when the
// module or its version cannot be read at all.
#include <windows.h>
#include <objbase.h>
#include <unknwn.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/owners.h"

namespace {

constexpr int EXIT_UNREADABLE = 2;

using GetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

HRESULT ClassObjectResult(HMODULE module, const std::wstring& classId) {
    const auto getClassObject = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (getClassObject == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    CLSID clsid{};
    const std::wstring braced = L"{" + classId + L"}";
    const HRESULT parsed = CLSIDFromString(braced.c_str(), &clsid);
    if (FAILED(parsed)) {
        return parsed;
    }
    UniqueInterface<IClassFactory> factory;
    return getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
}

bool PrintFileVersion(const wchar_t* path) {
    const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    if (size == 0) {
        return false;
    }
    std::vector<BYTE> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path, 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    std::printf("file-version %u.%u.%u.%u\n", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    constexpr int ARGUMENT_COUNT = 3;
    if (argc != ARGUMENT_COUNT) {
        std::fputs("usage: module-probe MODULE CLASS-ID\n", stderr);
        return EXIT_UNREADABLE;
    }
    const UniqueModule module(LoadLibraryW(argv[1]));
    if (!module) {
        std::fprintf(stderr, "cannot load the module: error %lu\n", GetLastError());
        return EXIT_UNREADABLE;
    }
    std::printf("class-object 0x%08lX\n",
                static_cast<unsigned long>(ClassObjectResult(module.Get(), argv[2])));
    return PrintFileVersion(argv[1]) ? 0 : EXIT_UNREADABLE;
}
