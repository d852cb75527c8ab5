#include "launch/launch_settings.h"

#include <utility>

#include "common/text.h"

namespace {

constexpr WCHAR SPACE = L' ';

}  // namespace

Status QuerySettingString(HKEY key, const WCHAR* name, SettingText* value) {
    DWORD size = 0;
    LONG error = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    // One character more than the data holds, so that data without a NUL can still be ended.
    const DWORD characters = size / sizeof(WCHAR);
    UniqueBuffer<WCHAR> text(AllocateArray<WCHAR>(size_t{characters} + 1));
    if (!text) {
        return STATUS_OUT_OF_MEMORY;
    }
    DWORD received = characters * sizeof(WCHAR);
    error = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.Get()),
                             &received);
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    // Only what the registry wrote is looked at; a value that shrank in between is shorter.
    const size_t length = LengthBeforeNul(text.Get(), received / sizeof(WCHAR));
    text.Get()[length] = L'\0';
    value->text = std::move(text);
    value->length = length;
    return RESULT_DONE;
}

Status LoadLaunchSettings(HWND owner, const MessageTexts& texts, LaunchSettings* settings) {
    LaunchSettings loaded;
    LONG error =
        RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, loaded.key.Put());
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    Status status =
        QuerySettingString(loaded.key.Get(), LAUNCH_VALUE_NAMES[TEMPLATE_VALUE], &loaded.object);
    if (status != RESULT_DONE) {
        return status;
    }
    while (loaded.object.text.Get()[loaded.objectStart] == SPACE) {
        ++loaded.objectStart;
    }
    if (loaded.object.text.Get()[loaded.objectStart] == L'\0') {
        MessageBoxW(owner, texts.templateNotSet, texts.commandCaption, STYLE_WARNING);
        return RESULT_REPORTED;
    }
    for (int i = NORTH_VALUE; i < LAUNCH_VALUE_COUNT; ++i) {
        status = QuerySettingString(loaded.key.Get(), LAUNCH_VALUE_NAMES[i],
                                    &(loaded.*LaunchSettings::TEXTS[i]));
        if (status != RESULT_DONE) {
            return status;
        }
    }
    *settings = std::move(loaded);
    return RESULT_DONE;
}
