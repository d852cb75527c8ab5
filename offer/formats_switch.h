#pragma once
// The per-user switch for the formats beyond JPEG and TIFF: the settings value "Formats", a list
// such as "image/heic; image/webp", or "*" for every type there is a reader for. Without a sound
// value only JPEG and TIFF are offered.

#include <windows.h>

#include <cstddef>

#include "common/formats.h"

// The names an entry of the list may give a row of FORMATS: its content type, or also, for a raw,
// its extension with the dot (".cr2"). The menu takes the extension only for a file whose
// extension Windows gives no content type, and the settings window's box of the row takes it
// exactly there (NamesTakenFor, offer/content_type.h).
enum class RowNames { CONTENT_TYPE, CONTENT_TYPE_OR_EXTENSION };

// Whether list (characters, NUL not needed) names row by one of names: entries separated by ';',
// spaces around each, letter case not significant, "*" naming every row.
bool ListNamesRow(const WCHAR* list, size_t characters, const Format& row, RowNames names);

// Every type the system reads, each with its separator, fits many times over; a longer value
// is taken for damaged rather than read in part.
constexpr DWORD FORMATS_CHARACTERS = 512;

// The current user's "Formats" value into list, its characters (NUL included) into *characters;
// false when the switch has none: absent, of another type than REG_SZ, of an odd size, without
// its terminator or longer than the switch has room for.
bool ReadFormatsSwitch(WCHAR (&list)[FORMATS_CHARACTERS], size_t* characters);

// Whether the current user's "Formats" value names row by one of names; no when
// ReadFormatsSwitch finds none.
bool RowSwitchedOn(const Format& row, RowNames names);
