#include "launch/launch_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "common/messages.h"
#include "tests/support/settings_fixture.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/test_window.h"

namespace {

constexpr Status NOT_FOUND = static_cast<Status>(0x80070002);
constexpr Status MORE_DATA = static_cast<Status>(0x800700EA);

StoredValue Sz(const wchar_t* name, const std::wstring& text) {
    return {name, REG_SZ, StringData(text)};
}

// Four well-formed hemisphere values.
std::vector<StoredValue> WithHemispheres(std::vector<StoredValue> values) {
    for (const wchar_t* name : {SETTING_NORTH, SETTING_SOUTH, SETTING_EAST, SETTING_WEST}) {
        bool given = false;
        for (const StoredValue& value : values) {
            given = given || std::wstring(value.name) == name;
        }
        if (!given) {
            values.push_back(Sz(name, name));
        }
    }
    return values;
}

struct LoadCase {
    const char* what;
    std::vector<StoredValue> values;
    Status status;
    bool warned;
    std::wstring object = L"";  // the template from its first character that is not a space
    size_t objectLength = 0;
    std::wstring north = L"";
};

TEST(LaunchSettings, MissingKeyFailsWithoutAMessage) {
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    TestWindow owner;
    MessageBoxRecorder boxes;
    LaunchSettings settings;
    EXPECT_EQ(LoadLaunchSettings(owner.Get(), JAPANESE_MESSAGES, &settings), NOT_FOUND);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(settings.key);
}

TEST(LaunchSettings, StatusesTextsAndLengths) {
    const LoadCase cases[] = {
        {"complete", WithHemispheres({Sz(SETTING_TEMPLATE, L"q=@Ad")}), RESULT_DONE, false,
         L"q=@Ad", 5, L"N"},
        {"template absent", WithHemispheres({}), NOT_FOUND, false},
        {"template empty, hemispheres absent", {Sz(SETTING_TEMPLATE, L"")}, RESULT_REPORTED, true},
        {"template only spaces", {Sz(SETTING_TEMPLATE, L"    ")}, RESULT_REPORTED, true},
        {"leading spaces skipped, still counted",
         WithHemispheres({Sz(SETTING_TEMPLATE, L"   q=@Ad")}), RESULT_DONE, false, L"q=@Ad", 8,
         L"N"},
        {"leading tab is the first character", WithHemispheres({Sz(SETTING_TEMPLATE, L"\tx")}),
         RESULT_DONE, false, L"\tx", 2, L"N"},
        {"ideographic space is no space", WithHemispheres({Sz(SETTING_TEMPLATE, L"\u3000")}),
         RESULT_DONE, false, L"\u3000", 1, L"N"},
        {"N present, S absent",
         {Sz(SETTING_TEMPLATE, L"x"), Sz(SETTING_NORTH, L"N"), Sz(SETTING_EAST, L"E"),
          Sz(SETTING_WEST, L"W")},
         NOT_FOUND,
         false},
        {"W absent",
         {Sz(SETTING_TEMPLATE, L"x"), Sz(SETTING_NORTH, L"N"), Sz(SETTING_SOUTH, L"S"),
          Sz(SETTING_EAST, L"E")},
         NOT_FOUND,
         false},
        {"empty hemisphere text",
         WithHemispheres({Sz(SETTING_TEMPLATE, L"x"), Sz(SETTING_NORTH, L"")}), RESULT_DONE, false,
         L"x", 1, L""},
        {"expandable string read verbatim",
         WithHemispheres({{SETTING_TEMPLATE, REG_EXPAND_SZ, StringData(L"%TEMP%\\@Ad")}}),
         RESULT_DONE, false, L"%TEMP%\\@Ad", 10, L"N"},
        // Data that is not a NUL-terminated UTF-16 string.
        {"template of 0 bytes", WithHemispheres({{SETTING_TEMPLATE, REG_SZ, {}}}), RESULT_REPORTED,
         true},
        {"template of an odd byte count",
         WithHemispheres({{SETTING_TEMPLATE, REG_SZ, {'x', 0, 'y'}}}), MORE_DATA, false},
        {"template without NUL",
         WithHemispheres({{SETTING_TEMPLATE, REG_SZ, CharacterData(L"abc")}}), RESULT_DONE, false,
         L"abc", 3, L"N"},
        {"template with an embedded NUL",
         WithHemispheres({{SETTING_TEMPLATE, REG_SZ, StringData(std::wstring(L"ab\0cd", 5))}}),
         RESULT_DONE, false, L"ab", 2, L"N"},
        {"template of binary type", WithHemispheres({{SETTING_TEMPLATE, REG_BINARY, {'q', 0}}}),
         RESULT_DONE, false, L"q", 1, L"N"},
        {"hemisphere as a DWORD",
         WithHemispheres({Sz(SETTING_TEMPLATE, L"x"), {SETTING_NORTH, REG_DWORD, {'n', 0, 0, 0}}}),
         RESULT_DONE, false, L"x", 1, L"n"},
        {"hemisphere of 0 bytes",
         WithHemispheres({Sz(SETTING_TEMPLATE, L"x"), {SETTING_NORTH, REG_SZ, {}}}), RESULT_DONE,
         false, L"x", 1, L""},
        {"hemisphere of an odd byte count",
         WithHemispheres({Sz(SETTING_TEMPLATE, L"x"), {SETTING_SOUTH, REG_SZ, {'s'}}}), MORE_DATA,
         false},
        {"hemisphere without NUL",
         WithHemispheres(
             {Sz(SETTING_TEMPLATE, L"x"), {SETTING_NORTH, REG_SZ, CharacterData(L"Nord")}}),
         RESULT_DONE, false, L"x", 1, L"Nord"},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsFixture stored;
        stored.Write(c.values);
        TestWindow owner;
        MessageBoxRecorder boxes;
        LaunchSettings settings;
        ASSERT_EQ(LoadLaunchSettings(owner.Get(), JAPANESE_MESSAGES, &settings), c.status);
        if (c.warned) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_TRUE(
                IsCommandBox(boxes.Boxes()[0], TEXT_TEMPLATE_NOT_SET, MB_ICONWARNING, owner.Get()));
        } else {
            EXPECT_TRUE(boxes.Boxes().empty());
        }
        if (c.status != RESULT_DONE) {
            EXPECT_FALSE(settings.key) << "nothing is handed out on failure";
            continue;
        }
        EXPECT_EQ(std::wstring(settings.TemplateText()), c.object);
        EXPECT_EQ(settings.object.length, c.objectLength);
        EXPECT_EQ(std::wstring(settings.north.text.Get()), c.north);
        EXPECT_EQ(settings.north.length, c.north.size());
    }
}

TEST(LaunchSettings, HemisphereWithEmbeddedNulExpandsToItsTextBeforeTheNul) {
    SettingsFixture stored;
    stored.Write(WithHemispheres({Sz(SETTING_TEMPLATE, L"[@AH]"),
                                  {SETTING_NORTH, REG_SZ, StringData(std::wstring(L"x\0yz", 4))}}));
    LaunchSettings settings;
    ASSERT_EQ(LoadLaunchSettings(nullptr, JAPANESE_MESSAGES, &settings), RESULT_DONE);
    EXPECT_EQ(settings.north.length, 1u);
    UniqueBuffer<WCHAR> expanded;
    ASSERT_EQ(
        ExpandPositionTemplate(settings.TemplateText(), settings.object.length,
                               settings.Hemispheres(), GpsPosition{0, 0, true, true}, &expanded),
        RESULT_DONE);
    EXPECT_EQ(std::wstring(expanded.Get()), L"[x]");
}

TEST(LaunchSettings, LargeValuesAreReadWhole) {
    const std::wstring big(300000, L'a');
    SettingsFixture stored;
    stored.Write(WithHemispheres({Sz(SETTING_TEMPLATE, big), Sz(SETTING_WEST, big)}));
    LaunchSettings settings;
    ASSERT_EQ(LoadLaunchSettings(nullptr, JAPANESE_MESSAGES, &settings), RESULT_DONE);
    EXPECT_EQ(settings.object.length, big.size());
    EXPECT_EQ(std::wstring(settings.west.text.Get()), big);
}

}  // namespace
