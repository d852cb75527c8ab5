#pragma once
// The per-user switch for the content types beyond JPEG and TIFF: the settings value
// "Formats", a list such as "image/heic; image/webp", or "*" for every type there is a reader
// for. Without a sound value only JPEG and TIFF are offered.

#include <windows.h>

#include <cstddef>

// Whether list (characters, NUL not needed) names contentType: entries separated by ';', spaces
// around each, letter case not significant, "*" naming every type.
bool FormatsListNames(const WCHAR* list, size_t characters, const WCHAR* contentType);

// Every type the system reads, each with its separator, fits many times over; a longer value
// is taken for damaged rather than read in part.
constexpr DWORD FORMATS_CHARACTERS = 512;

// The current user's "Formats" value into list, its characters (NUL included) into *characters;
// false when the switch has none: absent, of another type than REG_SZ, of an odd size, without
// its terminator or longer than the switch has room for.
bool ReadFormatsSwitch(WCHAR (&list)[FORMATS_CHARACTERS], size_t* characters);

// Whether the current user's "Formats" value names contentType, or alsoNamed when that is not
// null; no when ReadFormatsSwitch finds none.
bool FormatSwitchedOn(const WCHAR* contentType, const WCHAR* alsoNamed = nullptr);
