#pragma once
// The module-wide count of live factory and handler objects; the host may unload the module
// once it is 0. Hosts may create objects from several threads, so it changes atomically.

#include <windows.h>

void ResetLiveObjects();
void ObjectCreated();
void ObjectDestroyed();
LONG LiveObjects();

// Runs a COM method's body so that no exception can leave it.
template <typename Body>
HRESULT ComBoundary(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return E_UNEXPECTED;
    }
}
