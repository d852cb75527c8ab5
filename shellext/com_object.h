#pragma once
// IUnknown for the module's COM classes: a class derives from ComObject<Itself, Interfaces...>.
// QueryInterface answers those interfaces, and IUnknown always as the first one, so identity
// holds. The count starts at 0: the first QueryInterface gives the first reference, and the last
// Release deletes the object. Hosts call from several threads, so the count changes atomically.
// Each object is one of the module's live objects from construction to destruction, so deleting
// it always settles the module's count.

#include <windows.h>
#include <unknwn.h>

#include "shellext/module.h"

template <typename Object, typename First, typename... Others>
class ComObject : public First, public Others... {
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept final {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = riid == IID_IUnknown ? static_cast<First*>(this) : Find<First, Others...>(riid);
        if (*ppv == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    STDMETHODIMP_(ULONG) AddRef() noexcept final { return InterlockedIncrement(&references_); }

    STDMETHODIMP_(ULONG) Release() noexcept final {
        const LONG references = InterlockedDecrement(&references_);
        if (references == 0) {
            delete static_cast<Object*>(this);
        }
        return references;
    }

  protected:
    ComObject() noexcept { ObjectCreated(); }
    ~ComObject() { ObjectDestroyed(); }

  private:
    // This object as the interface riid names, or null when it has none by that name.
    template <typename Interface, typename... Rest>
    void* Find(REFIID riid) noexcept {
        if (riid == __uuidof(Interface)) {
            return static_cast<Interface*>(this);
        }
        if constexpr (sizeof...(Rest) > 0) {
            return Find<Rest...>(riid);
        }
        return nullptr;
    }

    LONG references_ = 0;
};
