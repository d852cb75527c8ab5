#pragma once
// The import address table of a loaded module: the slot through which it calls a function of
// a system DLL, swapped for a wrapper that passes the module's own calls on.

#include <windows.h>

// The slot of library's function in module's import table, or null when it imports none.
void** FindImportSlot(HMODULE module, const char* library, const char* function);

// Gives what was in slot.
void* SwapImportSlot(void** slot, void* function);

// Puts wrapper into module's slot of library's function, and what was there into *real. False
// when the module does not import it.
template <typename Function>
bool Redirect(HMODULE module, const char* library, const char* name, Function wrapper,
              Function* real) {
    void** slot = FindImportSlot(module, library, name);
    if (slot == nullptr) {
        return false;
    }
    *real = reinterpret_cast<Function>(SwapImportSlot(slot, reinterpret_cast<void*>(wrapper)));
    return true;
}
