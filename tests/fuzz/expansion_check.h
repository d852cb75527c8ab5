#pragma once
// The checks on one expansion: it succeeds, its text ends inside the room the size pass
// reserved, and it is the template with each code replaced by a number of that code's shape or
// by the selected hemisphere text, and nothing else.

#include <windows.h>

#include <string>

#include "common/gps_position.h"
#include "launch/template_expansion.h"

// Whether output is templateText (up to its NUL) with every code replaced: D and d by at most
// 10 integer digits, M, m, S and s by at most 2, d, m and s optionally followed by "." and 1 to
// 6 digits not ending in 0; H by the hemisphere text up to its NUL or stored length. Integer
// parts have no leading zeros.
bool MatchesTemplate(const WCHAR* templateText, const HemisphereTexts& hemispheres,
                     const GpsPosition& position, const std::wstring& output);

// Runs the size pass and the expansion; empty when every check holds, else what failed.
std::string CheckExpansion(const WCHAR* templateText, size_t storedLength,
                           const HemisphereTexts& hemispheres, const GpsPosition& position);

// The text as ASCII, anything else as \u{hex}, for failure messages.
std::string Printable(const std::wstring& text);
