// Quoriel.dll as a host sees it: its exports, imports and resources, the class factory and the
// live-object count behind DllCanUnloadNow.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quoriel_version.h"
#include "tests/support/quoriel_module.h"

namespace {

std::vector<std::string> ImportedDlls(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> names;
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        names.push_back(name);
    }
    return names;
}

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR found) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(reinterpret_cast<ULONG_PTR>(type));
    return TRUE;
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return L"(missing)";
    }
    return value;
}

TEST(Module, ExportsByOrdinal) {
    QuorielModule module;
    const struct {
        WORD ordinal;
        const char* name;
    } exports[] = {{1, "Uninstall"}, {2, "DllCanUnloadNow"}, {3, "DllGetClassObject"}};
    for (const auto& e : exports) {
        SCOPED_TRACE(e.name);
        const FARPROC byName = GetProcAddress(module.Handle(), e.name);
        ASSERT_NE(byName, nullptr);
        EXPECT_EQ(GetProcAddress(module.Handle(), MAKEINTRESOURCEA(e.ordinal)), byName);
    }
    EXPECT_EQ(GetProcAddress(module.Handle(), "DllRegisterServer"), nullptr)
        << "the module registers nothing itself";
}

TEST(Module, ImportsSystemDllsOnly) {
    QuorielModule module;
    const std::vector<std::string> system = {"advapi32.dll", "kernel32.dll", "msvcrt.dll",
                                             "ole32.dll",    "shell32.dll",  "user32.dll"};
    for (const std::string& name : ImportedDlls(module.Handle())) {
        EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << name;
    }
}

TEST(Module, VersionManifestAndIconAreItsOnlyResources) {
    QuorielModule module;
    std::vector<ULONG_PTR> types;
    EnumResourceTypesW(module.Handle(), CollectType, reinterpret_cast<LONG_PTR>(&types));
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<ULONG_PTR>{3 /* RT_ICON */, 14 /* RT_GROUP_ICON */,
                                             16 /* RT_VERSION */, 24 /* RT_MANIFEST */}));

    const HRSRC manifest = FindResourceExW(module.Handle(), RT_MANIFEST, MAKEINTRESOURCEW(2),
                                           MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(manifest, nullptr);
    const std::string text(
        static_cast<const char*>(LockResource(LoadResource(module.Handle(), manifest))),
        SizeofResource(module.Handle(), manifest));
    for (const char* part :
         {"level=\"asInvoker\"", "uiAccess=\"false\"", "name=\"Microsoft.Windows.Common-Controls\"",
          "version=\"6.0.0.0\"", "processorArchitecture=\"amd64\""}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
}

TEST(Module, VersionResource) {
    const std::wstring path = QuorielModule::Path();
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 0x04B0);
    EXPECT_EQ(VersionString(info, L"FileDescription"), L"Quoriel 64ビット版");
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Quoriel 64ビット版");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"" QUORIEL_VERSION_TEXT);
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1.00");
    EXPECT_EQ(VersionString(info, L"InternalName"), L"Quoriel.dll");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), L"Quoriel.dll");
}

TEST(ClassFactory, OneFactoryPerCallCountedUntilReleased) {
    QuorielModule module;
    ASSERT_EQ(module.CanUnloadNow(), S_OK);
    for (REFIID riid : {IID_IClassFactory, IID_IUnknown}) {
        IUnknown* first = nullptr;
        IUnknown* second = nullptr;
        ASSERT_EQ(
            module.GetClassObject(CLSID_QuorielHandler, riid, reinterpret_cast<void**>(&first)),
            S_OK);
        ASSERT_EQ(
            module.GetClassObject(CLSID_QuorielHandler, riid, reinterpret_cast<void**>(&second)),
            S_OK);
        EXPECT_NE(first, second);
        EXPECT_EQ(first->AddRef(), 2u) << "a new factory has one reference";
        EXPECT_EQ(first->Release(), 1u);
        EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
        EXPECT_EQ(first->Release(), 0u);
        EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "the second factory still lives";
        EXPECT_EQ(second->Release(), 0u);
        EXPECT_EQ(module.CanUnloadNow(), S_OK);
    }
}

TEST(ClassFactory, RefusalsCreateNothing) {
    QuorielModule module;
    const CLSID other = {
        0x6A0C5B7E, 0x3D24, 0x4F19, {0x9E, 0x8B, 0x2C, 0x71, 0xD4, 0xA0, 0x5F, 0x64}};
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(module.GetClassObject(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(module.GetClassObject(CLSID_QuorielHandler, IID_IContextMenu, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(module.CanUnloadNow(), S_OK) << "a factory refused by its first query is destroyed";

    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(CLSID_QuorielHandler, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)),
              S_OK);
    // Any outer object is refused before it is used.
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(&factory), IID_IUnknown, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDataObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    void* none = nullptr;
    EXPECT_EQ(factory->QueryInterface(IID_IContextMenu, &none), E_NOINTERFACE);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(module.CanUnloadNow(), S_OK) << "a handler refused by its first query is destroyed";
}

TEST(ClassFactory, LockServerDoesNotKeepTheModule) {
    QuorielModule module;
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(CLSID_QuorielHandler, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST(Handler, InterfacesShareOneCount) {
    QuorielModule module;
    IContextMenu* menu = module.CreateHandler<IContextMenu>(IID_IContextMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    IShellExtInit* init = nullptr;
    IUnknown* identity = nullptr;
    ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    ASSERT_EQ(menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(static_cast<void*>(identity), static_cast<void*>(init))
        << "IUnknown is the IShellExtInit interface";
    EXPECT_NE(static_cast<void*>(menu), static_cast<void*>(init));
    EXPECT_EQ(identity->Release(), 2u);
    EXPECT_EQ(init->Release(), 1u);
    EXPECT_EQ(menu->Release(), 0u);
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

}  // namespace
