#pragma once
// The file operations Windows carries out at its next start
// (Session Manager's PendingFileRenameOperations).

#include <string>
#include <vector>

constexpr const wchar_t* MODULE_PATH = L"C:\\windows\\system32\\ShellExt\\Quoriel.dll";
constexpr const wchar_t* SETUP_PROGRAM_PATH = L"C:\\windows\\system32\\ShellExt\\QuorielSetup.exe";
constexpr const wchar_t* SETTINGS_PROGRAM_PATH =
    L"C:\\windows\\system32\\ShellExt\\QuorielSettings.exe";

// The entries, in order: pairs of source and target.
std::vector<std::wstring> PendingRenames();
// How many pairs delete the file at path.
int DeletionsOf(const wchar_t* path);
// How many pairs delete the installed module file.
int ModuleDeletions();
