#pragma once

#include <windows.h>
#include <unknwn.h>

#include "shellext/com_object.h"

// Makes one object of a served class and queries it for riid; the object goes again when the
// query fails.
using ObjectMaker = HRESULT (*)(REFIID riid, void** ppv);

// The maker of the class clsid names, or null when the module does not serve that class.
ObjectMaker MakerOfClass(REFCLSID clsid);

// Makes one object of its class per CreateInstance: the classic context-menu handler or the
// command of Windows 11's menu. A new factory is made for every DllGetClassObject call; it
// counts as a live object while it exists.
class CQuorielClassFactory final : public ComObject<CQuorielClassFactory, IClassFactory> {
  public:
    explicit CQuorielClassFactory(ObjectMaker make);

    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override;
    STDMETHODIMP LockServer(BOOL lock) noexcept override;

  private:
    ObjectMaker make_;
};
