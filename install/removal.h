#pragma once
// "/uninstall", which the entry in Settings > Apps runs elevated: the installed module's own
// Uninstall with its boxes, or with /quiet the same cleanup without a box. Either way the files
// in use, the setup program's copy among them, go at the next start of Windows.

enum class Removal { REMOVED, INCOMPLETE, CANCELLED, REFUSED };

Removal UninstallWithBoxes();
Removal UninstallQuietly();
