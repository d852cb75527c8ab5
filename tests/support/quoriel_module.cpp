#include "tests/support/quoriel_module.h"

#include <gtest/gtest.h>

QuorielModule::QuorielModule() : module_(LoadLibraryW(Path().c_str())) {
    EXPECT_NE(module_, nullptr) << "cannot load the module";
    getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    canUnloadNow_ = reinterpret_cast<CanUnloadNowFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
    uninstall_ = reinterpret_cast<UninstallFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(1))));
}

QuorielModule::~QuorielModule() {
    FreeLibrary(module_);
}

std::wstring QuorielModule::Path() {
    const std::string path = QUORIEL_MODULE_PATH;
    return L"Z:" + std::wstring(path.begin(), path.end());
}

HRESULT QuorielModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const {
    return getClassObject_(clsid, riid, ppv);
}

HRESULT QuorielModule::CanUnloadNow() const {
    return canUnloadNow_();
}

void QuorielModule::Uninstall() const {
    uninstall_();
}

HRESULT QuorielModule::CreateHandlerRaw(REFIID riid, void** ppv) const {
    IClassFactory* factory = nullptr;
    HRESULT result =
        GetClassObject(CLSID_QuorielHandler, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (result != S_OK) {
        return result;
    }
    result = factory->CreateInstance(nullptr, riid, ppv);
    factory->Release();
    return result;
}
