#pragma once
// The real setup program run as administrators and the entry in Settings > Apps run it: copied
// with the built module into a test's folder, its lines read back from its output and its log,
// and everything an installation leaves removed again. Compiled into the test programs that
// define QUORIEL_SETUP and QUORIEL_MODULE.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/scratch_file.h"

// The first and the result's lines of every run.
extern const std::wstring SETUP_TITLE_LINE;
extern const std::wstring INSTALLED_HEADLINE;

std::wstring Quoted(const std::wstring& path);

// The setup program and the module in the folder (default: the scratch folder's own); the
// setup program's path.
std::wstring CopySetupAndModule(const ScratchFolder& scratch, const std::wstring& below = L"");

// What the program wrote to its output, in the system's code page, with line ends as "\n".
std::wstring ConsoleLines(const std::string& output);
// The log file, UTF-8 behind its byte-order mark, with line ends as "\n".
std::wstring LogLines(const std::wstring& path);

// Whether the value is there.
bool KeyExists(HKEY root, const wchar_t* path, const wchar_t* value);

// The keys, files and shortcuts of an installation, and the current user's settings, gone.
void CleanInstallation();

// What the built program declares: its subsystem and its manifest's text.
struct SetupDeclarations {
    WORD subsystem = 0;
    std::string manifest;
    std::vector<std::string> imports;  // the DLLs its import table names, as it names them
};
SetupDeclarations ReadSetupDeclarations(const std::wstring& path);
