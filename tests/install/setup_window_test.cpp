// The setup program's window, driven by the messages a user's clicks send: Cancel changes
// nothing, Install shows each step and where the command is, the formats box decides the
// account's formats unless it has its own, a failed step is named with the system's message, a
// wrong option is told in a box. ctest runs it once per user language, naming the expected one
// in QUORIEL_EXPECTED_LANGUAGE ("ja" or "en").
#include <gtest/gtest.h>

#include <string>

#include "common/package_identity.h"
#include "common/registry_names.h"
#include "install/installation.h"
#include "install/setup_ids.h"
#include "quoriel_version.h"
#include "tests/support/child_process.h"
#include "tests/support/program_window.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/reported_build.h"
#include "tests/support/scratch_file.h"
#include "tests/support/setup_run.h"

namespace {

constexpr DWORD RESULT_TIMEOUT_MS = 60000;
constexpr DWORD POLL_MS = 50;
constexpr const char STAND_IN[] = "MZ settings program stand-in";

struct Texts {
    const wchar_t* caption;
    std::wstring installed;
    const wchar_t* notInstalled;
    const wchar_t* allFormatsStep;
    const wchar_t* place;
};

bool Japanese() {
    wchar_t expected[8] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUORIEL_EXPECTED_LANGUAGE", expected, 8);
    return length > 0 && length < 8 && std::wstring(expected) == L"ja";
}

Texts Expected() {
    if (Japanese()) {
        return {L"" SETUP_CAPTION_JA_TEXT,
                L"Quoriel " QUORIEL_VERSION_TEXT L" をインストールしました。",
                L"Quoriel をインストールできませんでした。",
                L"このアカウントでスマートフォンの写真・動画・RAW の形式をオン: 完了",
                L"写真を右クリックし、Quoriel を選んでください。"};
    }
    return {L"" SETUP_CAPTION_EN_TEXT, L"Quoriel " QUORIEL_VERSION_TEXT L" is installed.",
            L"Quoriel could not be installed.",
            L"Switch on the phone photo, video and raw formats for this account: done",
            L"Right-click a photo and choose Quoriel."};
}

std::wstring StoredFormats() {
    wchar_t text[1024] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return text;
}

bool ResultShown(const ProgramWindow& window) {
    const ULONGLONG deadline = GetTickCount64() + RESULT_TIMEOUT_MS;
    while (!IsWindowVisible(window.Control(IDC_CLOSE))) {
        if (GetTickCount64() > deadline || window.WaitForExit(POLL_MS) != STILL_ACTIVE) {
            return false;
        }
    }
    return true;
}

class SetupWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        build_.Set(L"19045");
        setup_ = CopySetupAndModule(scratch_);
        scratch_.Write(SETTINGS_FILE, std::vector<uint8_t>(STAND_IN, STAND_IN + sizeof(STAND_IN)));
        CleanInstallation();
    }
    void TearDown() override { CleanInstallation(); }

    const Texts texts_ = Expected();
    const ReportedBuild build_;
    ScratchFolder scratch_;
    std::wstring setup_;
};

TEST_F(SetupWindowTest, CancelChangesNothing) {
    ProgramWindow window(setup_);
    ASSERT_TRUE(window.Shown());
    EXPECT_EQ(window.Caption(), texts_.caption);
    EXPECT_NE(window.Text(IDC_INTRO).find(L"" QUORIEL_VERSION_TEXT), std::wstring::npos);
    EXPECT_NE(window.Text(IDC_CONTENTS).find(L"C:\\windows\\system32\\ShellExt"),
              std::wstring::npos);
    EXPECT_TRUE(window.Checked(IDC_FORMATS)) << "ticked by default: most phones save HEIC";
    window.Click(IDC_CANCEL);
    EXPECT_EQ(window.WaitForExit(), 1602u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, CLASS_KEY));
}

TEST_F(SetupWindowTest, InstallShowsEachStepAndTheFormatsBoxDecides) {
    const std::wstring all =
        SwitchedFormats({FormatGroup::PHOTO, FormatGroup::VIDEO, FormatGroup::RAW});
    const struct {
        const char* name;
        bool ticked;
        const wchar_t* before;  // the account's own "Formats", or none
        const wchar_t* after;   // null: no value
    } cases[] = {
        {"box ticked", true, nullptr, all.c_str()},
        {"box cleared", false, nullptr, nullptr},
        {"box ticked over the account's own choice", true, L".cr2", L".cr2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CleanInstallation();
        if (c.before != nullptr) {
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS, REG_SZ,
                                      c.before, (lstrlenW(c.before) + 1) * sizeof(wchar_t)),
                      ERROR_SUCCESS);
        }
        ProgramWindow window(setup_);
        ASSERT_TRUE(window.Shown());
        if (!c.ticked) {
            window.Click(IDC_FORMATS);
        }
        window.Click(IDC_INSTALL);
        ASSERT_TRUE(ResultShown(window));
        EXPECT_EQ(window.Text(IDC_HEADLINE), texts_.installed);
        EXPECT_EQ(window.Text(IDC_STEPS).find(texts_.allFormatsStep) != std::wstring::npos,
                  c.ticked && c.before == nullptr);
        EXPECT_EQ(window.Text(IDC_WHERE).find(texts_.place), 0u);
        EXPECT_TRUE(window.Enabled(IDC_OPEN_SETTINGS));
        EXPECT_FALSE(IsWindowVisible(window.Control(IDC_INSTALL)));
        EXPECT_EQ(StoredFormats(), c.after == nullptr ? L"(none)" : c.after);
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, SERVER_KEY));
        window.Click(IDC_CLOSE);
        EXPECT_EQ(window.WaitForExit(), 0u);
    }
}

TEST_F(SetupWindowTest, AWrongOptionIsToldInABox) {
    ProgramWindow box(setup_, {}, L"/bogus");
    ASSERT_TRUE(box.Shown());
    EXPECT_EQ(box.Caption(), texts_.caption);
    EXPECT_NE(box.Text(MESSAGE_TEXT).find(L"/bogus"), std::wstring::npos);
    box.Click(IDOK);
    EXPECT_EQ(box.WaitForExit(), 87u);
}

TEST_F(SetupWindowTest, AFailedStepIsNamedWithTheSystemsMessage) {
    DeleteFileW((scratch_.Path() + L"\\" + SETTINGS_FILE).c_str());
    ProgramWindow window(setup_);
    ASSERT_TRUE(window.Shown());
    window.Click(IDC_INSTALL);
    ASSERT_TRUE(ResultShown(window));
    EXPECT_EQ(window.Text(IDC_HEADLINE), texts_.notInstalled);
    const std::wstring steps = window.Text(IDC_STEPS);
    const std::wstring number = Japanese() ? L"(エラー 2)" : L"(error 2)";
    EXPECT_EQ(steps.rfind(number), steps.size() - number.size()) << "the last step failed";
    EXPECT_FALSE(window.Enabled(IDC_OPEN_SETTINGS));
    window.Click(IDC_CLOSE);
    EXPECT_EQ(window.WaitForExit(), 1603u);
}

}  // namespace
