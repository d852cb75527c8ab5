// The real settings program, driven as a user drives it: each map service fills the fields,
// previews by the module's own expansion and is saved; what the user did not change stays as
// stored, whatever it is; the formats boxes write the value the menu reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/formats.h"
#include "launch/template_expansion.h"
#include "settings/sample_position.h"
#include "settings/settings_ids.h"
#include "tests/support/program_window.h"
#include "tests/settings/stored_settings.h"

namespace {

const int PRESET_COUNT = PresetCount();
const int CUSTOM = PRESET_COUNT;  // the last item of the service list
// How long a refused OK is given to end the program all the same.
constexpr DWORD REFUSAL_MS = 1000;

StoredText View(const std::wstring& text) {
    return StoredText{text.c_str(), text.size()};
}

// What the menu launches for position with these texts.
std::wstring Expanded(const LaunchTexts& texts, const GpsPosition& position) {
    const HemisphereTexts hemispheres{View(texts.north), View(texts.south), View(texts.east),
                                      View(texts.west)};
    UniqueBuffer<WCHAR> expanded;
    EXPECT_EQ(ExpandPositionTemplate(texts.object.c_str(), texts.object.size(), hemispheres,
                                     position, &expanded),
              RESULT_DONE);
    return expanded ? expanded.Get() : L"";
}

void ExpectShows(const ProgramWindow& window, const LaunchTexts& texts) {
    EXPECT_EQ(window.Text(IDC_TEMPLATE), texts.object);
    EXPECT_EQ(window.Text(IDC_NORTH), texts.north);
    EXPECT_EQ(window.Text(IDC_SOUTH), texts.south);
    EXPECT_EQ(window.Text(IDC_EAST), texts.east);
    EXPECT_EQ(window.Text(IDC_WEST), texts.west);
    EXPECT_EQ(window.Text(IDC_PREVIEW_SAMPLE), Expanded(texts, SAMPLE_POSITION));
    EXPECT_EQ(window.Text(IDC_PREVIEW_SOUTH), Expanded(texts, SAMPLE_SOUTH));
    EXPECT_EQ(window.Text(IDC_PREVIEW_WEST), Expanded(texts, SAMPLE_WEST));
}

void PressAndExpectEnd(const ProgramWindow& window, int button) {
    window.Click(button);
    EXPECT_EQ(window.WaitForExit(), 0u) << "the program did not end cleanly";
}

// Stored values that no preset has, so that choosing any preset changes all five.
void WriteCustom(SettingsFixture& stored) {
    stored.Write(L"custom @Ad @Od", L"n", L"s", L"e", L"w");
}

TEST(SettingsWindow, EachServiceFillsPreviewsAndSavesItsValues) {
    for (int i = 0; i < PRESET_COUNT; ++i) {
        SCOPED_TRACE(testing::PrintToString(PresetName(i)));
        SettingsFixture stored;
        WriteCustom(stored);
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        EXPECT_EQ(window.ItemCount(IDC_SERVICE), PRESET_COUNT + 1);
        EXPECT_EQ(window.Chosen(IDC_SERVICE), CUSTOM);
        EXPECT_EQ(window.ItemText(IDC_SERVICE, i), PresetName(i));
        window.Choose(IDC_SERVICE, i);
        ExpectShows(window, PresetTexts(i));
        EXPECT_EQ(window.Text(IDC_TEMPLATE_ERROR), L"");
        PressAndExpectEnd(window, IDOK);
        EXPECT_EQ(ReadSettings(), PresetSettings(i));
    }
}

// With no settings yet the window starts from the default service; a template of the user's
// own turns the choice into "Custom", and OK leaves every value the menu needs.
TEST(SettingsWindow, CustomTemplatePreviewsAndIsSavedWithTheHemispheres) {
    SettingsFixture stored;
    ProgramWindow window(SettingsProgram());
    ASSERT_TRUE(window.Shown());
    EXPECT_EQ(window.Chosen(IDC_SERVICE), DefaultPreset());
    ExpectShows(window, PresetTexts(DefaultPreset()));
    // A blank template: the menu would say it is not set, and there is nothing to preview.
    window.Type(IDC_TEMPLATE, L"  ");
    EXPECT_NE(window.Text(IDC_TEMPLATE_ERROR), L"");
    EXPECT_EQ(window.Text(IDC_PREVIEW_SAMPLE) + window.Text(IDC_PREVIEW_SOUTH) +
                  window.Text(IDC_PREVIEW_WEST),
              L"");
    LaunchTexts custom = PresetTexts(DefaultPreset());
    custom.object = L"geo:@AH@Ad,@OH@Od?z=@AD°@Am' @OD°@OM'@Os\" @OH";
    window.Type(IDC_TEMPLATE, custom.object);
    EXPECT_EQ(window.Chosen(IDC_SERVICE), CUSTOM);
    ExpectShows(window, custom);
    EXPECT_EQ(window.Text(IDC_TEMPLATE_ERROR), L"");
    PressAndExpectEnd(window, IDOK);
    SettingsSnapshot expected = PresetSettings(DefaultPreset());
    expected[SETTING_TEMPLATE] = Sz(custom.object);
    EXPECT_EQ(ReadSettings(), expected);
}

// OK is refused before anything is written, the north text typed beside the code included.
TEST(SettingsWindow, MalformedCodeIsNamedAndNothingIsSaved) {
    const struct {
        const wchar_t* typed;
        const wchar_t* named;
    } cases[] = {
        {L"https://maps.example/?q=@AQ,@Od", L"@AQ"},
        {L"https://maps.example/?q=@Ad,@Ox", L"@Ox"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
        SettingsFixture stored;
        WriteCustom(stored);
        const SettingsSnapshot before = ReadSettings();
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        window.Type(IDC_NORTH, L"north");
        window.Type(IDC_TEMPLATE, c.typed);
        const std::wstring error = window.Text(IDC_TEMPLATE_ERROR);
        EXPECT_NE(error.find(c.named), std::wstring::npos) << testing::PrintToString(error);
        window.Click(IDOK);
        EXPECT_EQ(window.WaitForExit(REFUSAL_MS), static_cast<DWORD>(STILL_ACTIVE));
        EXPECT_EQ(ReadSettings(), before);
        PressAndExpectEnd(window, IDCANCEL);
    }
}

TEST(SettingsWindow, CancelChangesNothingAndApplyWritesAtOnce) {
    SettingsFixture stored;
    WriteCustom(stored);
    stored.Write({{SETTING_FORMATS, REG_SZ, StringData(L"image/webp")}});
    const SettingsSnapshot before = ReadSettings();
    const int google = PresetIndex(L"google-maps");
    {
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        window.Choose(IDC_SERVICE, google);
        window.Type(IDC_NORTH, L"north");
        window.Click(IDC_FORMAT_BASE);
        PressAndExpectEnd(window, IDCANCEL);
        EXPECT_EQ(ReadSettings(), before);
    }
    ProgramWindow window(SettingsProgram());
    ASSERT_TRUE(window.Shown());
    window.Choose(IDC_SERVICE, google);
    window.Click(IDC_APPLY);
    EXPECT_EQ(window.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE)) << "Apply keeps it open";
    SettingsSnapshot applied = PresetSettings(google);
    applied[SETTING_FORMATS] = before.at(SETTING_FORMATS);
    EXPECT_EQ(ReadSettings(), applied);
    window.Type(IDC_TEMPLATE, L"changed after Apply @Ad");
    PressAndExpectEnd(window, IDCANCEL);
    EXPECT_EQ(ReadSettings(), applied);
}

// Escape leaves the settings as they were; Enter presses OK.
TEST(SettingsWindow, EscapeCancelsAndEnterSaves) {
    SettingsFixture stored;
    WriteCustom(stored);
    const SettingsSnapshot before = ReadSettings();
    const int google = PresetIndex(L"google-maps");
    for (const WORD key : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(key == VK_ESCAPE ? "Escape" : "Enter");
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        window.Choose(IDC_SERVICE, google);
        window.Press(key);
        EXPECT_EQ(window.WaitForExit(), 0u);
        EXPECT_EQ(ReadSettings(), key == VK_ESCAPE ? before : PresetSettings(google));
    }
}

// Typing text into the field and pressing OK writes that value, named name, as text; every
// other value keeps its type and bytes.
void ExpectOnlyTheEditWritten(int field, const wchar_t* name, const std::wstring& text) {
    SettingsSnapshot expected = ReadSettings();
    ProgramWindow window(SettingsProgram());
    ASSERT_TRUE(window.Shown());
    window.Type(field, text);
    PressAndExpectEnd(window, IDOK);
    expected[name] = Sz(text);
    EXPECT_EQ(ReadSettings(), expected);
}

// Only the south text changes: the REG_EXPAND_SZ template and the rest keep type and bytes.
TEST(SettingsWindow, OnlyChangedValuesAreWritten) {
    SettingsFixture stored;
    stored.Write({{SETTING_TEMPLATE, REG_EXPAND_SZ, StringData(L"%SystemRoot%\\viewer.exe @Ad")},
                  {SETTING_NORTH, REG_SZ, StringData(L"")},
                  {SETTING_SOUTH, REG_SZ, StringData(L"-")},
                  {SETTING_EAST, REG_SZ, StringData(L"")},
                  {SETTING_WEST, REG_SZ, StringData(L"-")},
                  {SETTING_FORMATS, REG_SZ, StringData(L"image/webp; image/x-mine")}});
    ExpectOnlyTheEditWritten(IDC_SOUTH, SETTING_SOUTH, L"minus ");
}

std::vector<uint8_t> Megabyte(const std::wstring& start) {
    const size_t characters = 512 * 1024;
    return StringData(start + std::wstring(characters - start.size() - 1, L'a'));
}

// Each hostile value among good ones: the window shows, says what it could not read, and OK
// leaves every value as it was; an unreadable value the user edits is written as text.
TEST(SettingsWindow, HostileStoredValuesAreKeptUnlessChanged) {
    const std::vector<uint8_t> ODD = {'h', 0, 't'};
    const struct {
        const char* what;
        const wchar_t* name;
        DWORD type;
        std::vector<uint8_t> data;
        int note;  // the text that must say something, or 0
    } cases[] = {
        {"template of a number type", SETTING_TEMPLATE, REG_DWORD, {0x40, 0, 0x41, 0}},
        {"template of an odd size", SETTING_TEMPLATE, REG_SZ, ODD, IDC_TEMPLATE_ERROR},
        {"template of 1 MB", SETTING_TEMPLATE, REG_SZ, Megabyte(L"https://x.example/@Ad/")},
        {"template of 1 MB, no NUL", SETTING_TEMPLATE, REG_BINARY,
         CharacterData(std::wstring(512 * 1024, L'@'))},
        {"north of an odd size", SETTING_NORTH, REG_BINARY, ODD, IDC_HEMISPHERE_ERROR},
        {"west as a list", SETTING_WEST, REG_MULTI_SZ, CharacterData(std::wstring(L"W\0x\0\0", 5))},
        {"formats of a number type", SETTING_FORMATS, REG_DWORD, {1, 0, 0, 0}},
        {"formats of an odd size", SETTING_FORMATS, REG_SZ, ODD, IDC_FORMATS_NOTE},
        {"formats of 1 MB", SETTING_FORMATS, REG_SZ, Megabyte(L"image/heic;")},
        {"language expandable", SETTING_LANGUAGE, REG_EXPAND_SZ, StringData(L"en")},
        {"language of another name", SETTING_LANGUAGE, REG_SZ, StringData(L"fr")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsFixture stored;
        stored.Write(L"https://maps.example/?q=@Ad,@Od", L"", L"-", L"", L"-");
        stored.Write({{SETTING_FORMATS, REG_SZ, StringData(L"image/heic")}});
        stored.Write({{c.name, c.type, c.data}});
        const SettingsSnapshot before = ReadSettings();
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        if (c.note != 0) {
            EXPECT_NE(window.Text(c.note), L"");
        }
        PressAndExpectEnd(window, IDOK);
        EXPECT_EQ(ReadSettings(), before);
    }
    SCOPED_TRACE("an unreadable template edited");
    SettingsFixture stored;
    stored.Write(L"https://maps.example/?q=@Ad,@Od", L"", L"-", L"", L"-");
    stored.Write({{SETTING_TEMPLATE, REG_BINARY, ODD}});
    ExpectOnlyTheEditWritten(IDC_TEMPLATE, SETTING_TEMPLATE, L"geo:@Ad,@Od");
}

// Every box ticked names every switched type; the next start shows them ticked, and unticking
// one takes out its type alone.
TEST(SettingsWindow, FormatBoxesWriteTheValueTheMenuReads) {
    std::vector<std::wstring> switched;
    for (const Format& format : FORMATS) {
        if (format.switched) {
            // In lower case, as the entries are compared (image/DNG).
            std::wstring type = format.contentType;
            std::transform(type.begin(), type.end(), type.begin(), towlower);
            switched.push_back(type);
        }
    }
    SettingsFixture stored;
    stored.Write(L"https://maps.example/?q=@Ad,@Od", L"", L"-", L"", L"-");
    {
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        for (size_t i = 0; i < switched.size(); ++i) {
            EXPECT_FALSE(window.Checked(IDC_FORMAT_BASE + static_cast<int>(i)));
            window.Click(IDC_FORMAT_BASE + static_cast<int>(i));
        }
        PressAndExpectEnd(window, IDOK);
    }
    const SettingsSnapshot all = ReadSettings();
    ASSERT_EQ(all.count(SETTING_FORMATS), 1u);
    EXPECT_EQ(all.at(SETTING_FORMATS).type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(FormatsEntries(all.at(SETTING_FORMATS)),
              std::set<std::wstring>(switched.begin(), switched.end()));
    ProgramWindow window(SettingsProgram());
    ASSERT_TRUE(window.Shown());
    for (size_t i = 0; i < switched.size(); ++i) {
        EXPECT_TRUE(window.Checked(IDC_FORMAT_BASE + static_cast<int>(i)));
    }
    window.Click(IDC_FORMAT_BASE);
    PressAndExpectEnd(window, IDOK);
    EXPECT_EQ(FormatsEntries(ReadSettings().at(SETTING_FORMATS)),
              std::set<std::wstring>(switched.begin() + 1, switched.end()));
}

}  // namespace
