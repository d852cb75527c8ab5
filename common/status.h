#pragma once
// The result of every reading and output step. 0 is done, the two positive values below travel
// upward unchanged, anything negative is a failure HRESULT passed on as it is.

#include <windows.h>

#include <cstdint>

using Status = int32_t;

constexpr Status RESULT_DONE = 0;
// No Exif data, or a layout or version of the file that is not supported; the caller warns.
constexpr Status RESULT_NO_EXIF = 1;
// A message box has already told the user; nothing more is shown.
constexpr Status RESULT_REPORTED = 2;
// The data is sound but holds no complete position: the reading's own answer, which the command
// turns into its message box and RESULT_REPORTED. It never reaches the host.
constexpr Status RESULT_NO_POSITION = 3;

constexpr Status STATUS_OUT_OF_MEMORY = static_cast<Status>(0x8007000E);
constexpr Status STATUS_FAILED = static_cast<Status>(0x80004005);  // E_FAIL

// A Win32 error code e > 0 becomes (e & 0xFFFF) | 0x80070000; 0 and negative values stay.
constexpr Status HResultFromWin32(long error) {
    return error > 0 ? static_cast<Status>((static_cast<uint32_t>(error) & 0xFFFFu) | 0x80070000u)
                     : static_cast<Status>(error);
}

// The HRESULT of the failure just reported; a failure without an error code is still one.
inline Status LastErrorStatus() {
    const Status status = HResultFromWin32(static_cast<long>(GetLastError()));
    return status < 0 ? status : STATUS_FAILED;
}
