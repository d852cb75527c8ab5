#pragma once
// The measuring side shared by the peer readers' programs: each gives one lookup (the GPS
// position of the file at a path, read from scratch), this runs it over the files and prints
// tab-separated values, timed as position-bench times Quoriel's lookups.
//
// Usage of every peer program: PROGRAM [--once] FILE...
// --once: one lookup a file and no timing, for strace to count the reads of.

// Degrees, negative to the south and west.
struct Position {
    double latitude = 0;
    double longitude = 0;
};

// True when all four GPS fields were there and could be read.
using Lookup = bool (*)(const char* path, Position* position);

int RunPeer(int argc, char** argv, Lookup lookup);
