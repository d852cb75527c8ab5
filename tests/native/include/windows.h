#pragma once
// A stand-in for the few Windows types and calls that the readers and the template expansion
// use, so that those sources build natively on Linux (for sanitizers and fuzzing). The calls
// are implemented over an in-memory file by memory_file.cpp.

#include <cstddef>
#include <cstdint>
#include <cstring>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = unsigned int;
using BOOL = int;
using HRESULT = int32_t;
using WCHAR = wchar_t;
using LPCWSTR = const wchar_t*;
using LPCSTR = const char*;
using PLONG = LONG*;
using LPDWORD = DWORD*;
using LPVOID = void*;
using INT_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using HANDLE = void*;
using HWND = struct HWND__*;
using HKEY = struct HKEY__*;
using HGLOBAL = void*;
using HINSTANCE = struct HINSTANCE__*;
using HMODULE = HINSTANCE;
using PSID = void*;

#define WINAPI
#define TRUE 1
#define FALSE 0

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD NO_ERROR = 0;
constexpr DWORD ERROR_HANDLE_EOF = 38;
const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(-1);

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

#define ZeroMemory(destination, length) std::memset((destination), 0, (length))
#define CopyMemory(destination, source, length) std::memcpy((destination), (source), (length))

struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
DWORD GetLastError();
void SetLastError(DWORD error);
BOOL CloseHandle(HANDLE handle);
BOOL FindClose(HANDLE search);
LONG RegCloseKey(HKEY key);
HGLOBAL GlobalFree(HGLOBAL memory);
void* FreeSid(PSID sid);
BOOL FreeLibrary(HMODULE module);
LONG RegUnLoadKeyW(HKEY root, LPCWSTR name);
void CoTaskMemFree(void* memory);
const HKEY HKEY_USERS = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003));
