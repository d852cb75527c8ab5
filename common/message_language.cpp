#include "common/message_language.h"

#include "common/registry_names.h"

namespace {

// Room for "en", its NUL and one character more, so that a longer text is told apart; the
// last slot stays NUL whatever the registry writes.
constexpr DWORD LANGUAGE_CHARACTERS = 4;

}  // namespace

MessageLanguage AccountMessageLanguage() {
    WCHAR text[LANGUAGE_CHARACTERS] = {};
    DWORD size = (LANGUAGE_CHARACTERS - 1) * sizeof(WCHAR);
    // Without RRF_NOEXPAND an expandable string would be expanded and pass as REG_SZ.
    const LONG error = RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_LANGUAGE,
                                    RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, text, &size);
    // An odd byte count is a damaged value, as the launch settings take it.
    if (error != ERROR_SUCCESS || size % sizeof(WCHAR) != 0) {
        return MessageLanguage::JAPANESE;
    }
    const bool english = CompareStringOrdinal(text, -1, LANGUAGE_ENGLISH, -1, TRUE) == CSTR_EQUAL;
    return english ? MessageLanguage::ENGLISH : MessageLanguage::JAPANESE;
}

const MessageTexts& MessagesIn(MessageLanguage language) {
    return language == MessageLanguage::ENGLISH ? ENGLISH_MESSAGES : JAPANESE_MESSAGES;
}

const WCHAR* LanguageValue(MessageLanguage language) {
    return language == MessageLanguage::ENGLISH ? LANGUAGE_ENGLISH : LANGUAGE_JAPANESE;
}
