#include "tests/host/hosted_module.h"

#include "common/class_id.h"

namespace {

constexpr WORD UNINSTALL_ORDINAL = 1;

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

HostedModule::HostedModule(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
    getClassObject_ = Export<GetClassObjectFunction>(module_.Get(), "DllGetClassObject");
    canUnloadNow_ = Export<CanUnloadNowFunction>(module_.Get(), "DllCanUnloadNow");
    uninstall_ = Export<UninstallFunction>(module_.Get(), MAKEINTRESOURCEA(UNINSTALL_ORDINAL));
}

HRESULT HostedModule::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const {
    return getClassObject_ != nullptr ? getClassObject_(clsid, riid, ppv) : E_FAIL;
}

HRESULT HostedModule::CanUnloadNow() const {
    return canUnloadNow_ != nullptr ? canUnloadNow_() : E_FAIL;
}

void HostedModule::Uninstall() const {
    if (uninstall_ != nullptr) {
        uninstall_();
    }
}

HRESULT HostedModule::CreateHandlerRaw(REFIID riid, void** ppv) const {
    return CreateObjectRaw(CLSID_Quoriel, riid, ppv);
}

HRESULT HostedModule::CreateObjectRaw(REFCLSID clsid, REFIID riid, void** ppv) const {
    IClassFactory* factory = nullptr;
    HRESULT result = GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (result != S_OK) {
        return result;
    }
    result = factory->CreateInstance(nullptr, riid, ppv);
    factory->Release();
    return result;
}
