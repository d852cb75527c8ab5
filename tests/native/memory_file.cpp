#include "tests/native/memory_file.h"

#include <cstdlib>

#include "common/memory.h"

namespace {

MemoryFileState state;
HANDLE const MEMORY_FILE = reinterpret_cast<HANDLE>(0x51);
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;

}  // namespace

HANDLE OpenMemoryFile(const std::vector<uint8_t>& bytes) {
    state = MemoryFileState{};
    state.bytes = bytes;
    return MEMORY_FILE;
}

MemoryFileState& MemoryFile() {
    return state;
}

DWORD GetLastError() {
    return ERROR_NEGATIVE_SEEK;  // the only failure the memory file has
}

DWORD SetFilePointer(HANDLE, LONG distance, PLONG, DWORD method) {
    const int64_t base = method == FILE_BEGIN ? 0
                         : method == FILE_CURRENT
                             ? int64_t{state.position}
                             : int64_t{static_cast<int64_t>(state.bytes.size())};
    const int64_t target = base + distance;
    if (target < 0 || target > int64_t{UINT32_MAX - 1}) {
        return INVALID_SET_FILE_POINTER;
    }
    state.position = static_cast<uint32_t>(target);
    return state.position;
}

BOOL ReadFile(HANDLE, LPVOID buffer, DWORD toRead, LPDWORD read, void*) {
    state.reads.push_back(ReadRecord{state.position, toRead});
    const size_t size = state.bytes.size();
    const size_t available = state.position < size ? size - state.position : 0;
    const size_t count = toRead < available ? toRead : available;
    if (count > 0) {
        std::memcpy(buffer, state.bytes.data() + state.position, count);
    }
    state.position += static_cast<uint32_t>(count);
    *read = static_cast<DWORD>(count);
    return TRUE;
}

DWORD GetFileSize(HANDLE, LPDWORD) {
    return static_cast<DWORD>(state.bytes.size());
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
