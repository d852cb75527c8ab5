#pragma once
// The kind of file the extension of a path is registered as in HKEY_CLASSES_ROOT.

#include <windows.h>

#include "common/file_kind.h"
#include "common/formats.h"
#include "offer/formats_switch.h"

// S_OK with *kind set; or the registry error as HRESULT. An extension that is not registered,
// or registered with a content type the command does not read, is FileKind::NONE. A raw's
// extension that is not registered, or has no content type, is the raw's kind when the user's
// "Formats" value names the raw by its extension or its content type.
HRESULT FindFileKind(const WCHAR* path, FileKind* kind);

// The names the menu takes for row on this system: also a raw's extension when Windows gives
// that extension no content type, as FindFileKind reads it; otherwise the content type alone.
RowNames NamesTakenFor(const Format& row);
