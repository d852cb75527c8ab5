// The settings window's choice of the boxes' language: shown as the command reads it, written
// only when changed, and quoted in the window's notes.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/messages.h"
#include "settings/settings_ids.h"
#include "tests/settings/stored_settings.h"
#include "tests/support/program_window.h"

namespace {

// The boxes' language shows as the command reads it ("EN" is English), an untouched choice
// writes nothing, and a changed one writes its own value.
TEST(SettingsWindow, MessagesChoiceIsWrittenOnlyWhenChanged) {
    SettingsFixture stored;
    stored.Write(L"https://maps.example/?q=@Ad,@Od", L"", L"-", L"", L"-");
    stored.Write({{SETTING_LANGUAGE, REG_SZ, StringData(L"EN")}});
    SettingsSnapshot expected = ReadSettings();
    for (const auto& choice : {std::make_pair(1, L"EN"), std::make_pair(0, L"ja")}) {
        ProgramWindow window(SettingsProgram());
        ASSERT_TRUE(window.Shown());
        EXPECT_EQ(window.ItemText(IDC_MESSAGES, 0), L"日本語");
        EXPECT_EQ(window.ItemText(IDC_MESSAGES, 1), L"English");
        EXPECT_EQ(window.Chosen(IDC_MESSAGES), 1) << "the stored choice";
        window.Choose(IDC_MESSAGES, choice.first);
        window.Type(IDC_TEMPLATE, L"");
        const wchar_t* quoted =
            choice.first == 1 ? TEXT_TEMPLATE_NOT_SET_EN : TEXT_TEMPLATE_NOT_SET;
        EXPECT_NE(window.Text(IDC_TEMPLATE_ERROR).find(quoted), std::wstring::npos)
            << "the menu's message in the chosen language";
        window.Type(IDC_TEMPLATE, L"https://maps.example/?q=@Ad,@Od");
        window.Click(IDOK);
        EXPECT_EQ(window.WaitForExit(), 0u);
        expected[SETTING_LANGUAGE] = Sz(choice.second);
        EXPECT_EQ(ReadSettings(), expected);
        stored.Write({{SETTING_LANGUAGE, REG_SZ, StringData(L"EN")}});
    }
}

}  // namespace
