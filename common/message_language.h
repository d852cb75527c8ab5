#pragma once
// The language of the current account's boxes, from its "Language" value: read once by each
// command and by the uninstaller, and by the help text and tool tip when they are asked for.

#include <windows.h>

#include "common/messages.h"

enum class MessageLanguage { JAPANESE, ENGLISH };

// ENGLISH only for a REG_SZ that is "en" in any letter case; absent, "ja", any other text, a
// value of another type (REG_EXPAND_SZ included), of an odd byte count or too long for "en"
// keep JAPANESE. One registry call, nothing allocated.
MessageLanguage AccountMessageLanguage();

const MessageTexts& MessagesIn(MessageLanguage language);

// The "Language" value that chooses language, as the setup program and the settings window write
// it.
const WCHAR* LanguageValue(MessageLanguage language);

inline const MessageTexts& AccountMessages() {
    return MessagesIn(AccountMessageLanguage());
}
