#pragma once

#include <windows.h>
#include <unknwn.h>

// Makes one context-menu handler per CreateInstance. A new factory is made for every
// DllGetClassObject call; it counts as a live object while it exists.
class CQuorielClassFactory final : public IClassFactory {
  public:
    CQuorielClassFactory();
    ~CQuorielClassFactory();
    CQuorielClassFactory(const CQuorielClassFactory&) = delete;
    CQuorielClassFactory& operator=(const CQuorielClassFactory&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
    STDMETHODIMP_(ULONG) AddRef() noexcept override;
    STDMETHODIMP_(ULONG) Release() noexcept override;

    // IClassFactory
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override;
    STDMETHODIMP LockServer(BOOL lock) noexcept override;

  private:
    LONG references_ = 0;
};
