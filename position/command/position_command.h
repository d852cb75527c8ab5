#pragma once
// The context-menu command: the reading of the selected file, then the launch of a found
// position or the box that tells the user there is none. The only part of the position lookup
// that shows anything or launches.

#include <windows.h>
#include <shlobj.h>

#include "common/file_kind.h"
#include "position/tiff_reader.h"

// The command for the first file of drop, read as kind with reader's state: E_FAIL for any verb
// but command offset 0, S_OK after a launch, S_FALSE after a message box, or the failure
// HRESULT of the open, a read or the settings.
HRESULT RunPositionCommand(CQuorielReader& reader, const CMINVOKECOMMANDINFO* info, HDROP drop,
                           FileKind kind);
