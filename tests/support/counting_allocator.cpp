#include "tests/support/counting_allocator.h"

#include <windows.h>

#include "common/memory.h"

namespace {

int allowedAllocations = INT_MAX;
std::vector<void*> allocated;
std::vector<void*> freed;

}  // namespace

void* AllocateBuffer(size_t bytes) noexcept {
    if (allowedAllocations <= 0) {
        return nullptr;
    }
    --allowedAllocations;
    void* buffer = HeapAlloc(GetProcessHeap(), 0, bytes);
    allocated.push_back(buffer);
    return buffer;
}

void FreeBuffer(void* buffer) noexcept {
    freed.push_back(buffer);
    HeapFree(GetProcessHeap(), 0, buffer);
}

namespace counting_allocator {

void Reset(int allowed) {
    allowedAllocations = allowed;
    allocated.clear();
    freed.clear();
}

const std::vector<void*>& Allocated() {
    return allocated;
}

const std::vector<void*>& Freed() {
    return freed;
}

}  // namespace counting_allocator
