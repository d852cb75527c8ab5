#pragma once
// What the WebP and PNG chunk walks share: where the file ends as far as 32-bit positions reach
// it, and a seek to any such position, not only those a signed 32-bit distance from the start
// reaches.

#include <windows.h>

#include <cstdint>

#include "common/status.h"
#include "position/file_window.h"

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
