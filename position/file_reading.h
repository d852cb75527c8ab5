#pragma once
// The few file operations of the readers: 32-bit positions, absolute seeks, fixed-size reads.

#include <windows.h>

#include <cstdint>

#include "common/status.h"

// The file pointer as its low 32 bits; INVALID_SET_FILE_POINTER when it does not fit them.
inline uint32_t CurrentPosition(HANDLE file) {
    return SetFilePointer(file, 0, nullptr, FILE_CURRENT);
}

// A failed seek leaves the pointer where it was; the window check that follows decides.
inline void SeekTo(HANDLE file, uint32_t position) {
    SetFilePointer(file, static_cast<LONG>(position), nullptr, FILE_BEGIN);
}

// Reads size bytes into buffer, which the caller has zeroed. A failure with an error code
// gives its HRESULT; a failure without one goes on as though the bytes had been delivered.
inline Status ReadBytes(HANDLE file, BYTE* buffer, DWORD size, DWORD* received) {
    *received = 0;
    if (!ReadFile(file, buffer, size, received, nullptr)) {
        const Status status = HResultFromWin32(static_cast<long>(GetLastError()));
        if (status != RESULT_DONE) {
            return status;
        }
        *received = size;
    }
    return RESULT_DONE;
}

// A failure that must not pass for success, even when the platform gave no error code.
inline Status LastErrorStatus() {
    const Status status = HResultFromWin32(static_cast<long>(GetLastError()));
    return status < 0 ? status : static_cast<Status>(0x80004005);  // E_FAIL
}
