#pragma once
// The language of Quoriel's windows, the settings window's and the setup program's: Japanese
// when the user's interface language is Japanese, English otherwise. A window's dialog template
// and texts are taken from that language's resources explicitly, so the choice does not rest on
// how the loader matches languages.

#include <windows.h>

#include <initializer_list>
#include <string>

LANGID WindowLanguage();

// The dialog template IDD in language, or null when the program lacks it.
const DLGTEMPLATE* DialogTemplate(HINSTANCE instance, LANGID language, WORD id);

// The string table text id in language; empty when there is none.
std::wstring LoadText(HINSTANCE instance, LANGID language, UINT id);

// text with each "%1", "%2"... replaced by the argument of that number.
std::wstring FormatText(const std::wstring& text, std::initializer_list<std::wstring> arguments);

// An error code as eight hexadecimal digits, for the texts that show one.
std::wstring ErrorCodeText(long error);

// The texts of one language of this program.
struct WindowTexts {
    HINSTANCE instance;
    LANGID language;

    std::wstring Get(UINT id) const { return LoadText(instance, language, id); }
};
