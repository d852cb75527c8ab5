#pragma once
// Runs a program of the prefix to its end, as a user at a command prompt would.

#include <windows.h>

#include <string>

// The program's exit code, or -1 when it could not be started or did not end in time.
int RunToEnd(const std::wstring& commandLine, DWORD timeoutMs = 60000);
// The same, with what the program wrote to its standard output and error in *output.
int RunToEnd(const std::wstring& commandLine, std::string* output, DWORD timeoutMs = 60000);

// A path of the Linux file system as Wine's Z: drive shows it.
std::wstring FromLinuxPath(const std::string& path);
