#pragma once
// The context-menu command: the reading of the selected file, then the launch of a found
// position or the box that tells the user there is none. The only part of the position lookup
// that shows anything or launches.

#include <windows.h>
#include <shlobj.h>

#include "common/file_kind.h"
#include "position/tiff_reader.h"

// The command for the file at path, read as kind with reader's state, its boxes owned by owner:
// S_OK after a launch, S_FALSE after a message box, or the failure HRESULT of the open, a read
// or the settings. Both menus come here, each with its own way to the path and the owner.
HRESULT RunCommandForFile(CQuorielReader& reader, const WCHAR* path, FileKind kind, HWND owner);

// The classic menu's invocation: the command for the first file of drop, owned by the
// invocation's window; E_FAIL for any verb but command offset 0.
HRESULT RunPositionCommand(CQuorielReader& reader, const CMINVOKECOMMANDINFO* info, HDROP drop,
                           FileKind kind);
