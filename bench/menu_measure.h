#pragma once
// The timing of the menu benchmark: one file's QueryContextMenu, the Explorer command's GetState
// for the same file (what Windows 11's menu asks on every right-click) and the bare
// HKEY_CLASSES_ROOT walk to the same stop, timed call by call in rounds, the kinds side by side.

#include <windows.h>
#include <shlobj.h>

#include <string>

// Each round times calls of both kinds side by side, so that a change in the machine's load
// falls on both alike; the median round is reported.
constexpr int MENU_ROUNDS = 11;

struct MenuTimes {
    int repetitions = 0;  // pairs a round
    double menuMs = 0;
    double walkMs = 0;
    double overheadPercent = 0;  // median of the rounds' own overheads
    double lowestPercent = 0;
    double highestPercent = 0;
    double stateMs = 0;
    double stateAboveMenuPercent = 0;  // GetState's time above the menu build's, the same way
};

// One file's menu build, GetState and bare walk.
struct MenuRunner {
    IContextMenu* handler;
    IExplorerCommand* command;
    IShellItemArray* items;
    std::wstring dotExtension;
    HMENU menu;

    // Untimed: the number of items the build gave (-1 when it failed), whether the walk found
    // the extension, whether GetState offers the command.
    int BuildOnce();
    bool WalkOnce() const;
    bool StateOnce() const;

    // One call each, timed alone; the menu's item is removed again outside the time.
    double TimeMenuBuild();
    double TimeBareWalk() const;
    double TimeState() const;

    // Rounds of calls of all kinds, each timed alone and paired with the other kinds' calls
    // next to it.
    MenuTimes Measure();
    void ClearMenu();
};
