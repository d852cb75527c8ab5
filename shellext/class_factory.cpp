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

CQuorielClassFactory::CQuorielClassFactory(ObjectMaker make) : make_(make) {}

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
