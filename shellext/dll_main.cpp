// The module's entry points: DllMain, and the COM exports by which the host gets the class
// factory and asks whether the module may be unloaded.
#include <windows.h>
#include <objbase.h>

#include <new>

#include "shellext/class_factory.h"
#include "shellext/module.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ResetLiveObjects();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return LiveObjects() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    return ComBoundary([&] {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = nullptr;
        const ObjectMaker make = MakerOfClass(rclsid);
        if (make == nullptr) {
            return CLASS_E_CLASSNOTAVAILABLE;
        }
        CQuorielClassFactory* factory = new (std::nothrow) CQuorielClassFactory(make);
        if (factory == nullptr) {
            return E_OUTOFMEMORY;
        }
        if (factory->QueryInterface(riid, ppv) != S_OK) {
            delete factory;  // nothing refers to it; its share of the count goes with it
            return E_NOINTERFACE;
        }
        return S_OK;
    });
}
