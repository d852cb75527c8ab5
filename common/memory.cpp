#include "common/memory.h"

#include <windows.h>

void* AllocateBuffer(size_t bytes) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void FreeBuffer(void* buffer) noexcept {
    HeapFree(GetProcessHeap(), 0, buffer);
}
