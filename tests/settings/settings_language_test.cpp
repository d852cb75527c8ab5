// The settings window's language: Japanese under a Japanese user language, English otherwise.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_ids.h"
#include "tests/support/program_window.h"
#include "tests/settings/stored_settings.h"

namespace {

// The language comes from the Unix environment Wine starts a program with (LC_MESSAGES), which
// the program inherits from this one; a Windows environment block cannot change it. So ctest
// runs this test once per language (CMakeLists.txt), naming the expected one in
// QUORIEL_EXPECTED_LANGUAGE ("ja" or "en"); without it the test is skipped.
TEST(SettingsLanguage, JapaneseForAJapaneseUserLanguageEnglishOtherwise) {
    wchar_t expected[8] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUORIEL_EXPECTED_LANGUAGE", expected, 8);
    if (length == 0 || length >= 8) {
        GTEST_SKIP() << "run by the language tests only";
    }
    SettingsFixture stored;
    ProgramWindow window(SettingsProgram());
    ASSERT_TRUE(window.Shown());
    EXPECT_EQ(window.Caption(),
              std::wstring(expected) == L"ja" ? SETTINGS_CAPTION_JA : SETTINGS_CAPTION_EN);
    window.Click(IDCANCEL);
    EXPECT_EQ(window.WaitForExit(), 0u);
}

}  // namespace
