// The readers call the real Windows file API on real handles, through this executable's import
// address table (they are linked into it statically, and every kernel32 call goes through an
// __imp_ slot). Swapping those slots for counting wrappers that pass each call on to the saved
// kernel32 function counts exactly the readers' calls without changing what they do. System
// DLLs keep their own imports, so their own file work is not counted.
#include "bench/iat_counters.h"

#include <windows.h>

#include <string>

#include "bench/import_slots.h"

namespace {

constexpr const char* KERNEL32 = "kernel32.dll";

decltype(&ReadFile) realReadFile = nullptr;
decltype(&SetFilePointer) realSetFilePointer = nullptr;
decltype(&GetFileSize) realGetFileSize = nullptr;

IoCounters counters;

bool tracing = false;
std::string traceText;

void Trace(const char* entry) {
    if (tracing) {
        traceText += entry;
    }
}

// The wrappers keep the real call's last error: the readers read it after a failure.
BOOL WINAPI CountingReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD received,
                             LPOVERLAPPED overlapped) {
    const BOOL result = realReadFile(file, buffer, size, received, overlapped);
    const DWORD error = GetLastError();
    ++counters.reads;
    counters.bytesRequested += size;
    counters.bytesRead += received != nullptr ? *received : 0;
    if (tracing) {
        traceText += " R" + std::to_string(size);
    }
    SetLastError(error);
    return result;
}

DWORD WINAPI CountingSetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method) {
    // A query may come with a high part of 0 for a 64-bit answer.
    const bool query =
        distance == 0 && (distanceHigh == nullptr || *distanceHigh == 0) && method == FILE_CURRENT;
    const DWORD result = realSetFilePointer(file, distance, distanceHigh, method);
    const DWORD error = GetLastError();
    ++(query ? counters.positionQueries : counters.seeks);
    Trace(query ? " Q" : " S");
    SetLastError(error);
    return result;
}

DWORD WINAPI CountingGetFileSize(HANDLE file, LPDWORD sizeHigh) {
    const DWORD result = realGetFileSize(file, sizeHigh);
    const DWORD error = GetLastError();
    ++counters.sizeQueries;
    Trace(" Z");
    SetLastError(error);
    return result;
}

}  // namespace

bool InstallIoCounters() {
    const HMODULE self = GetModuleHandleW(nullptr);
    return Redirect(self, KERNEL32, "ReadFile", &CountingReadFile, &realReadFile) &&
           Redirect(self, KERNEL32, "SetFilePointer", &CountingSetFilePointer,
                    &realSetFilePointer) &&
           Redirect(self, KERNEL32, "GetFileSize", &CountingGetFileSize, &realGetFileSize);
}

void ResetIoCounters() {
    counters = IoCounters{};
}

IoCounters CurrentIoCounters() {
    return counters;
}

void StartIoTrace() {
    traceText.clear();
    tracing = true;
}

std::string StopIoTrace() {
    tracing = false;
    return traceText;
}
