#pragma once
// Working buffers come from here, so that every allocation of the module can be counted and,
// in tests, refused.

#include <cstddef>
#include <cstdint>

void* AllocateBuffer(size_t bytes) noexcept;
void FreeBuffer(void* buffer) noexcept;

// Room for count elements of T, or null when the size cannot be had or does not fit size_t.
template <typename T>
T* AllocateArray(size_t count) noexcept {
    if (count > SIZE_MAX / sizeof(T)) {
        return nullptr;
    }
    return static_cast<T*>(AllocateBuffer(count * sizeof(T)));
}
