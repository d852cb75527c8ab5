#pragma once
// The current user's launch settings: the template and the four hemisphere texts, read afresh
// for every command from HKEY_CURRENT_USER "Software\Vantorel\Quoriel".

#include <windows.h>

#include <cstddef>

#include "common/launch_values.h"
#include "common/messages.h"
#include "common/owners.h"
#include "common/registry_names.h"
#include "common/status.h"
#include "launch/template_expansion.h"

// A value's text, NUL-terminated, and its length in characters before that NUL.
struct SettingText {
    UniqueBuffer<WCHAR> text;
    size_t length = 0;

    StoredText View() const { return StoredText{text.Get(), length}; }
};

// Members are released in reverse order of declaration: "W", "E", "S", "N", the template, and
// the key last.
struct LaunchSettings {
    UniqueKey key;
    SettingText object;
    size_t objectStart = 0;  // the template's first character that is not a space
    SettingText north;
    SettingText south;
    SettingText east;
    SettingText west;

    // Each launch value's member, by LaunchValue.
    static constexpr SettingText LaunchSettings::*const TEXTS[LAUNCH_VALUE_COUNT] = {
        &LaunchSettings::object, &LaunchSettings::north, &LaunchSettings::south,
        &LaunchSettings::east, &LaunchSettings::west};

    const WCHAR* TemplateText() const { return object.text.Get() + objectStart; }
    HemisphereTexts Hemispheres() const {
        return HemisphereTexts{north.View(), south.View(), east.View(), west.View()};
    }
};

// 0 with the value's text in *value, or the registry error as HRESULT, or STATUS_OUT_OF_MEMORY.
// Data of any type is taken as UTF-16 text: it ends at its first NUL or after its last whole
// character; an odd byte count fails with the registry's ERROR_MORE_DATA.
Status QuerySettingString(HKEY key, const WCHAR* name, SettingText* value);

// 0 with *settings filled (it must be empty on entry); RESULT_REPORTED after the warning in texts
// that no template is set, shown with owner as its owner; or a failure HRESULT. On anything but
// 0, whatever was read has been released.
Status LoadLaunchSettings(HWND owner, const MessageTexts& texts, LaunchSettings* settings);
