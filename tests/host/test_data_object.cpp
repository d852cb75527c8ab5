#include "tests/host/test_data_object.h"

#include "tests/host/drop_list.h"

namespace {

// Frees one medium's HGLOBAL when ReleaseStgMedium releases it, and counts that.
class MediumReleaser final : public IUnknown {
  public:
    MediumReleaser(HGLOBAL memory, int* released) : memory_(memory), released_(released) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = riid == IID_IUnknown ? this : nullptr;
        return *ppv != nullptr ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG references = --references_;
        if (references == 0) {
            GlobalFree(memory_);
            ++*released_;
            delete this;
        }
        return references;
    }

  private:
    ULONG references_ = 1;
    HGLOBAL memory_;
    int* released_;
};

}  // namespace

STDMETHODIMP TestDataObject::QueryInterface(REFIID riid, void** ppv) {
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDataObject) {
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP TestDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    ++getDataCalls_;
    if (failure_ != S_OK) {
        return failure_;
    }
    if (format->cfFormat != CF_HDROP || (format->tymed & TYMED_HGLOBAL) == 0) {
        return DV_E_FORMATETC;
    }
    *medium = STGMEDIUM{};
    if (tymed_ != TYMED_HGLOBAL) {
        medium->tymed = tymed_;  // nothing behind it: a handler must not use it
        return S_OK;
    }
    HGLOBAL memory = MakeDropList(paths_).Release();
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = new MediumReleaser(memory, &mediaReleased_);
    ++mediaGiven_;
    return S_OK;
}
