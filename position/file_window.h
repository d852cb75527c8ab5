#pragma once
// The one way every reader and locator reads the file: a window of it, checked by subtraction
// so that nothing wraps; fixed-size reads into zeroed stack buffers that must arrive whole; and
// the byte-order readers. Positions are 32-bit, as SetFilePointer without a high part gives them.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/status.h"

// A block of the file: every offset inside it is relative to start, and no read may leave it.
struct FileWindow {
    uint32_t start;
    uint32_t length;

    // Whether n bytes from the file position lie inside.
    bool Holds(uint32_t position, uint32_t n) const {
        if (position < start) {
            return false;
        }
        const uint32_t used = position - start;
        return used <= length && n <= length - used;
    }

    // Whether n bytes from offset, relative to start, lie inside.
    bool HoldsOffset(uint32_t offset, uint32_t n) const {
        return offset <= length && n <= length - offset;
    }
};

// The file pointer as its low 32 bits; INVALID_SET_FILE_POINTER when it does not fit them.
inline uint32_t CurrentPosition(HANDLE file) {
    return SetFilePointer(file, 0, nullptr, FILE_CURRENT);
}

// A failed seek leaves the pointer where it was; the window check that follows decides.
inline void SeekTo(HANDLE file, uint32_t position) {
    SetFilePointer(file, static_cast<LONG>(position), nullptr, FILE_BEGIN);
}

// The HRESULT of the failure just reported; a failure without an error code is still one.
inline Status LastErrorStatus() {
    const Status status = HResultFromWin32(static_cast<long>(GetLastError()));
    return status < 0 ? status : STATUS_FAILED;
}

// The container walks reach every 32-bit position, not only those a signed 32-bit distance from
// the start reaches.
// INVALID_SET_FILE_POINTER is no position, so a chunk walk ends before it. A file of 4 GiB or
// more ends there too: nothing at or beyond 4 GiB can be read.
constexpr uint32_t REACHABLE_END = INVALID_SET_FILE_POINTER;

inline uint32_t ReachableFileEnd(HANDLE file) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    return high != 0 ? REACHABLE_END : low;
}

// Any position below REACHABLE_END. Positions of 2 GiB and more take a second, relative step,
// since each step is a signed 32-bit distance.
inline Status MoveTo(HANDLE file, uint32_t position) {
    constexpr uint32_t LONGEST_STEP = 0x7FFFFFFF;
    const uint32_t first = position < LONGEST_STEP ? position : LONGEST_STEP;
    if (SetFilePointer(file, static_cast<LONG>(first), nullptr, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER) {
        return LastErrorStatus();
    }
    if (position == first) {
        return RESULT_DONE;
    }
    const LONG rest = static_cast<LONG>(position - first);
    if (SetFilePointer(file, rest, nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER) {
        return LastErrorStatus();
    }
    return RESULT_DONE;
}

// Reads the whole buffer, zeroed first so that nothing unread is ever used. A read cut short
// by the end of the file means the structure is not all there.
template <size_t N>
Status ReadWhole(HANDLE file, BYTE (&buffer)[N]) {
    ZeroMemory(buffer, N);
    DWORD received = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(N), &received, nullptr)) {
        return LastErrorStatus();
    }
    return received < N ? RESULT_NO_EXIF : RESULT_DONE;
}

// The window check at the file position, then the read.
template <size_t N>
Status ReadInWindow(HANDLE file, const FileWindow& window, BYTE (&buffer)[N]) {
    if (!window.Holds(CurrentPosition(file), static_cast<uint32_t>(N))) {
        return RESULT_NO_EXIF;
    }
    return ReadWhole(file, buffer);
}

// b[0] is the byte that comes first in the file.
inline uint16_t LittleEndian16(const BYTE* b) {
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

inline uint32_t LittleEndian32(const BYTE* b) {
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

inline uint16_t BigEndian16(const BYTE* b) {
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

inline uint32_t BigEndian32(const BYTE* b) {
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}

inline uint64_t BigEndian64(const BYTE* b) {
    return uint64_t{BigEndian32(b)} << 32 | BigEndian32(b + 4);
}
