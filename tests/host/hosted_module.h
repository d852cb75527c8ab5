#pragma once
// A module loaded by its path the way a host loads it, reached through its exports only.

#include <windows.h>
#include <unknwn.h>

#include <string>

#include "common/owners.h"

class HostedModule {
  public:
    explicit HostedModule(const std::wstring& path);

    // The module is loaded and exports what a shell extension must.
    bool Loaded() const { return getClassObject_ != nullptr && canUnloadNow_ != nullptr; }
    HMODULE Handle() const { return module_.Get(); }

    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) const;
    HRESULT CanUnloadNow() const;
    // The export of ordinal 1.
    void Uninstall() const;

    // A handler of the module's class made the way a host makes one: factory, CreateInstance,
    // factory released.
    HRESULT CreateHandlerRaw(REFIID riid, void** ppv) const;
    // An object of the class clsid, made the same way.
    HRESULT CreateObjectRaw(REFCLSID clsid, REFIID riid, void** ppv) const;

  private:
    using GetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFunction = HRESULT(WINAPI*)();
    using UninstallFunction = void(WINAPI*)();

    UniqueModule module_;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
    UninstallFunction uninstall_ = nullptr;
};
