#pragma once
// A selection as the shell hands it to a handler: an IDataObject whose GetData gives a real
// drop list (CF_HDROP in an HGLOBAL). Each medium it gives out carries its own releaser, so a
// test can count the media the handler has released. It can also be told to fail, or to answer
// with another kind of medium. It lives on the stack; its reference count is only checked.

#include <windows.h>
#include <objidl.h>

#include <string>
#include <vector>

class TestDataObject final : public IDataObject {
  public:
    explicit TestDataObject(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}
    TestDataObject(const TestDataObject&) = delete;
    TestDataObject& operator=(const TestDataObject&) = delete;

    void FailWith(HRESULT result) { failure_ = result; }
    // Answer with a medium of this tymed instead of an HGLOBAL (TYMED_ISTREAM, TYMED_NULL...).
    void AnswerWithTymed(DWORD tymed) { tymed_ = tymed; }

    int GetDataCalls() const { return getDataCalls_; }
    int MediaGiven() const { return mediaGiven_; }
    int MediaReleased() const { return mediaReleased_; }
    LONG References() const { return references_; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; }

    // IDataObject
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  private:
    std::vector<std::wstring> paths_;
    HRESULT failure_ = S_OK;
    DWORD tymed_ = TYMED_HGLOBAL;
    LONG references_ = 1;
    int getDataCalls_ = 0;
    int mediaGiven_ = 0;
    int mediaReleased_ = 0;
};
