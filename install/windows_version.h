#pragma once
// Whether this is Windows 11, whose own context menu lists only packaged commands. Told by the
// build number the system records; the tests set that number, as Wine cannot be Windows 11.

// True for build 22000 and later; false for earlier builds and for anything unreadable.
bool IsWindows11OrLater();
