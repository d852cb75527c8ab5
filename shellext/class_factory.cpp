#include "shellext/class_factory.h"

#include <new>

#include "common/class_id.h"
#include "shellext/explorer_command.h"
#include "shellext/module.h"
#include "shellext/quoriel.h"

namespace {

template <typename Object>
HRESULT MakeObject(REFIID riid, void** ppv) {
    Object* object = new (std::nothrow) Object();
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT result = object->QueryInterface(riid, ppv);
    if (FAILED(result)) {
        delete object;  // nothing refers to it; its share of the count goes with it
    }
    return result;
}

}  // namespace

ObjectMaker MakerOfClass(REFCLSID clsid) {
    if (IsEqualCLSID(clsid, CLSID_Quoriel)) {
        return &MakeObject<CQuoriel>;
    }
    if (IsEqualCLSID(clsid, CLSID_QuorielCommand)) {
        return &MakeObject<CQuorielCommand>;
    }
    return nullptr;
}

CQuorielClassFactory::CQuorielClassFactory(ObjectMaker make) : make_(make) {
    ObjectCreated();
}

CQuorielClassFactory::~CQuorielClassFactory() {
    ObjectDestroyed();
}

STDMETHODIMP CQuorielClassFactory::QueryInterface(REFIID riid, void** ppv) noexcept {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CQuorielClassFactory::AddRef() noexcept {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) CQuorielClassFactory::Release() noexcept {
    const LONG references = InterlockedDecrement(&references_);
    if (references == 0) {
        delete this;
    }
    return references;
}

STDMETHODIMP CQuorielClassFactory::CreateInstance(IUnknown* outer, REFIID riid,
                                                  void** ppv) noexcept {
    return ComBoundary([&] {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        return make_(riid, ppv);
    });
}

// Locks do not keep the module loaded: only live objects do.
STDMETHODIMP CQuorielClassFactory::LockServer(BOOL) noexcept {
    return S_OK;
}
