#pragma once
// The setup program's command line. Without options it shows its window; deployment tools and
// the entry in Settings > Apps use these, written with "/" or "-", in any letter case:
//   /quiet           nothing shown; the result is the exit code (install/exit_codes.h)
//   /log FILE        every step and error written to FILE as well
//   /formats         also switch on the photo formats for the installing account
//   /formats:all     the photo, video and raw formats (what the window's box does)
//   /force           install this version even over a newer one
//   /uninstall       remove Quoriel: the module's own boxes, or none with /quiet

#include <string>

#include "install/installation.h"

constexpr const wchar_t* QUIET_OPTION = L"/quiet";
constexpr const wchar_t* UNINSTALL_OPTION = L"/uninstall";

struct SetupOptions {
    bool valid = true;
    bool quiet = false;
    bool uninstall = false;
    bool force = false;
    FormatsChoice formats = FormatsChoice::NONE;
    std::wstring logFile;
    std::wstring wrong;  // the argument that made the line invalid
};

SetupOptions ParseSetupOptions(int argc, const wchar_t* const* argv);

// How to use the program, for the line that a wrong option gets.
constexpr const wchar_t* SETUP_USAGE =
    L"usage: QuorielSetup.exe [/quiet] [/log FILE] [/formats | /formats:all] [/force] | "
    L"/uninstall [/quiet] [/log FILE]";
