#pragma once
// The built Quoriel.dll loaded the way a host loads it, for the tests.

#include <windows.h>
#include <unknwn.h>

#include <string>

#include "common/class_id.h"
#include "tests/host/hosted_module.h"

// The class the module serves, under the name the module tests ask for it by.
constexpr CLSID CLSID_QuorielHandler = CLSID_Quoriel;

class QuorielModule : public HostedModule {
  public:
    QuorielModule();
    QuorielModule(const QuorielModule&) = delete;
    QuorielModule& operator=(const QuorielModule&) = delete;

    static std::wstring Path();

    template <typename Interface>
    Interface* CreateHandler(REFIID riid) const {
        void* handler = nullptr;
        return CreateHandlerRaw(riid, &handler) == S_OK ? static_cast<Interface*>(handler)
                                                        : nullptr;
    }
    template <typename Interface>
    Interface* CreateObject(REFCLSID clsid, REFIID riid) const {
        void* object = nullptr;
        return CreateObjectRaw(clsid, riid, &object) == S_OK ? static_cast<Interface*>(object)
                                                             : nullptr;
    }
};
