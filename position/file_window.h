#pragma once
// The one way every reader and locator reads the file: a window of it, checked by subtraction
// so that nothing wraps; fixed-size reads into zeroed stack buffers that must arrive whole; and
// the byte-order readers. Windows are 32-bit, as the TIFF offsets in them; a seek reaches any
// 64-bit position.

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

// The chunk walks end before INVALID_SET_FILE_POINTER, the last 32-bit position, and so does a
// file of 4 GiB or more for them: they read nothing at or beyond 4 GiB.
constexpr uint32_t REACHABLE_END = INVALID_SET_FILE_POINTER;

inline uint32_t ReachableFileEnd(HANDLE file) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    return high != 0 ? REACHABLE_END : low;
}

// The whole size of the file, 4 GiB and beyond; 0 when it cannot be told.
inline uint64_t FullFileSize(HANDLE file) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return 0;
    }
    return uint64_t{high} << 32 | low;
}

// Any position below 2^63 in one step: with its high part the distance is a signed 64-bit
// number. A low part of all ones is a position too, so only the error code tells a failure.
inline Status MoveTo(HANDLE file, uint64_t position) {
    constexpr uint64_t FARTHEST = uint64_t{INT64_MAX};
    if (position > FARTHEST) {
        return RESULT_NO_EXIF;
    }
    LONG high = static_cast<LONG>(position >> 32);
    SetLastError(NO_ERROR);
    if (SetFilePointer(file, static_cast<LONG>(static_cast<uint32_t>(position)), &high,
                       FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        return LastErrorStatus();
    }
    return RESULT_DONE;
}

// Reads count bytes into buffer. A read cut short by the end of the file means the structure
// is not all there.
inline Status ReadCount(HANDLE file, BYTE* buffer, DWORD count) {
    DWORD received = 0;
    if (!ReadFile(file, buffer, count, &received, nullptr)) {
        return LastErrorStatus();
    }
    return received < count ? RESULT_NO_EXIF : RESULT_DONE;
}

// Reads the whole buffer, zeroed first so that nothing unread is ever used.
template <size_t N>
Status ReadWhole(HANDLE file, BYTE (&buffer)[N]) {
    ZeroMemory(buffer, N);
    return ReadCount(file, buffer, static_cast<DWORD>(N));
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
