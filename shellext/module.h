#pragma once
// The module-wide count of live factory and handler objects; the host may unload the module
// once it is 0. Hosts may create objects from several threads, so it changes atomically.

#include <windows.h>

// {6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}, the one class the module serves.
constexpr CLSID CLSID_Quoriel = {
    0x6A0C5B7E, 0x3D24, 0x4F19, {0x9E, 0x8B, 0x2C, 0x71, 0xD4, 0xA0, 0x5F, 0x63}};

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
