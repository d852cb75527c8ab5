#pragma once
// The selection as Windows 11's menu hands it to its commands: a shell item array.

#include <windows.h>
#include <shobjidl.h>

#include "common/file_kind.h"
#include "common/owners.h"

// S_OK with the path and kind of the one file of items when the classic menu would offer its
// item for it; S_FALSE when it would not (no array, another number of items, an item that is
// no file-system file, an extension without a readable kind); or the failure HRESULT of the
// array or the registry. Reads no file content.
HRESULT FindOfferedFile(IShellItemArray* items, UniqueTaskText* path, FileKind* kind);
