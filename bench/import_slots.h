#pragma once
// The import address table of a loaded module: the slot through which it calls a function of
// a system DLL, and swapping what the slot holds. A module's own calls then go to a wrapper,
// which passes them on; the system DLLs keep their own imports.

#include <windows.h>

// The slot of library's function in module's import table, or null when it imports none.
void** FindImportSlot(HMODULE module, const char* library, const char* function);

// Puts function into slot and gives what was there.
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
