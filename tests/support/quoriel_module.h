#pragma once
// Quoriel.dll loaded the way a host loads it, reached through its exports only.

#include <windows.h>
#include <unknwn.h>

#include <string>

// {6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}
constexpr CLSID CLSID_QuorielHandler = {
    0x6A0C5B7E, 0x3D24, 0x4F19, {0x9E, 0x8B, 0x2C, 0x71, 0xD4, 0xA0, 0x5F, 0x63}};

class QuorielModule {
  public:
    QuorielModule();
    ~QuorielModule();
    QuorielModule(const QuorielModule&) = delete;
    QuorielModule& operator=(const QuorielModule&) = delete;

    HMODULE Handle() const { return module_; }
    static std::wstring Path();

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const;
    HRESULT CanUnloadNow() const;
    // The export of ordinal 1.
    void Uninstall() const;

    // A handler made the way a host makes one: factory, CreateInstance, factory released.
    template <typename Interface>
    Interface* CreateHandler(REFIID riid) const {
        void* handler = nullptr;
        return CreateHandlerRaw(riid, &handler) == S_OK ? static_cast<Interface*>(handler)
                                                        : nullptr;
    }

  private:
    HRESULT CreateHandlerRaw(REFIID riid, void** ppv) const;

    HMODULE module_;
    using GetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFunction = HRESULT(WINAPI*)();
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
    using UninstallFunction = void(WINAPI*)();
    UninstallFunction uninstall_ = nullptr;
};
