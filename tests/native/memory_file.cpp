#include "tests/native/memory_file.h"

#include <cstdlib>

#include "common/memory.h"

namespace {

MemoryFileState state;
HANDLE const MEMORY_FILE = reinterpret_cast<HANDLE>(0x51);
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;

}  // namespace

HANDLE OpenSparseFile(const std::vector<uint8_t>& bytes, const std::vector<MemoryPart>& far) {
    state = MemoryFileState{};
    state.bytes = bytes;
    state.far = far;
    return MEMORY_FILE;
}

HANDLE OpenMemoryFile(const std::vector<uint8_t>& bytes, uint64_t farOffset,
                      const std::vector<uint8_t>& far) {
    if (far.empty()) {
        return OpenSparseFile(bytes, {});
    }
    return OpenSparseFile(bytes, {MemoryPart{farOffset, far}});
}

MemoryFileState& MemoryFile() {
    return state;
}

uint8_t MemoryFileState::At(uint64_t offset) const {
    if (offset < bytes.size()) {
        return bytes[offset];
    }
    for (const MemoryPart& part : far) {
        if (offset >= part.offset && offset - part.offset < part.bytes.size()) {
            return part.bytes[offset - part.offset];
        }
    }
    return 0;
}

DWORD GetLastError() {
    return state.lastError;
}

void SetLastError(DWORD error) {
    state.lastError = error;
}

// A seek is the only call of the memory file that fails: to a negative target, or without a
// high part past 32 bits. With a high part the distance is a signed 64-bit number, as on
// Windows; without, a signed 32-bit one.
DWORD SetFilePointer(HANDLE, LONG distance, PLONG distanceHigh, DWORD method) {
    ++state.seeks;
    const int64_t base = method == FILE_BEGIN     ? 0
                         : method == FILE_CURRENT ? static_cast<int64_t>(state.position)
                                                  : static_cast<int64_t>(state.Size());
    const int64_t move =
        distanceHigh == nullptr
            ? int64_t{distance}
            : static_cast<int64_t>(uint64_t{static_cast<uint32_t>(*distanceHigh)} << 32 |
                                   static_cast<uint32_t>(distance));
    const int64_t target = base + move;
    if (target < 0 || (distanceHigh == nullptr && target > int64_t{UINT32_MAX - 1})) {
        state.lastError = ERROR_NEGATIVE_SEEK;
        return INVALID_SET_FILE_POINTER;
    }
    state.position = static_cast<uint64_t>(target);
    if (distanceHigh != nullptr) {
        *distanceHigh = static_cast<LONG>(state.position >> 32);
    }
    return static_cast<DWORD>(state.position);
}

// With an OVERLAPPED the read starts at its offset, as on a synchronous handle; one that starts
// at or past the end fails with ERROR_HANDLE_EOF.
BOOL ReadFile(HANDLE, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    const uint64_t size = state.Size();
    if (overlapped != nullptr) {
        state.position = uint64_t{overlapped->OffsetHigh} << 32 | overlapped->Offset;
    }
    state.reads.push_back(ReadRecord{state.position, toRead, 0});
    if (overlapped != nullptr && state.position >= size) {
        *read = 0;
        state.lastError = ERROR_HANDLE_EOF;
        return FALSE;
    }
    const uint64_t available = state.position < size ? size - state.position : 0;
    const uint32_t count = toRead < available ? toRead : static_cast<uint32_t>(available);
    uint8_t* out = static_cast<uint8_t*>(buffer);
    for (uint32_t i = 0; i < count; ++i) {
        out[i] = state.At(state.position + i);
    }
    state.position += count;
    state.reads.back().delivered = count;
    *read = count;
    return TRUE;
}

DWORD GetFileSize(HANDLE, LPDWORD sizeHigh) {
    ++state.sizeQueries;
    if (sizeHigh != nullptr) {
        *sizeHigh = static_cast<DWORD>(state.Size() >> 32);
    }
    return static_cast<DWORD>(state.Size());
}

BOOL CloseHandle(HANDLE) {
    return TRUE;
}

LONG RegCloseKey(HKEY) {
    return 0;
}

HGLOBAL GlobalFree(HGLOBAL) {
    return nullptr;
}

void* AllocateBuffer(size_t bytes) noexcept {
    return std::malloc(bytes);
}

void FreeBuffer(void* buffer) noexcept {
    std::free(buffer);
}
