// The real QuorielSetup.exe before Windows 11: the settings program copied beside the module,
// the Start menu shortcut to it, named in the user's language, and the lines the installer ends
// with. ctest runs it once more under a Japanese user language.
#include <gtest/gtest.h>

#include <string>

#include "common/owners.h"
#include "common/package_identity.h"
#include "common/registry_names.h"
#include "tests/support/child_process.h"
#include "tests/support/pending_renames.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/reported_build.h"
#include "tests/support/scratch_file.h"
#include "tests/support/shortcut_file.h"

namespace {

constexpr const wchar_t* INSTALLED_LINE =
    L"Quoriel is installed: C:\\windows\\system32\\ShellExt\\Quoriel.dll\n";
// Any bytes will do: the installer copies the program and never starts it.
constexpr const char STAND_IN[] = "MZ settings program stand-in";

struct Language {
    const wchar_t* name;
    const wchar_t* other;
    const wchar_t* description;
};

// What the user sees, by the test's own user interface language.
Language Expected() {
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
        return {L"Quoriel の設定", L"Quoriel Settings",
                L"Quoriel が開く地図サービスと、右クリックで扱う写真・動画の形式を選びます"};
    }
    return {L"Quoriel Settings", L"Quoriel の設定",
            L"Choose the map service Quoriel opens and the photo and video formats it offers"};
}

std::wstring Shortcut(const wchar_t* name) {
    return CommonProgramsFolder() + L"\\" + name + L".lnk";
}

// The console output, in the system's code page as the installer writes it, lines ended by "\n".
std::wstring Lines(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    std::wstring lines;
    for (const wchar_t c : wide) {
        if (c != L'\r') {
            lines += c;
        }
    }
    return lines;
}

void Clean(const Language& language) {
    DeleteKeyTree(HKEY_CLASSES_ROOT, CLASS_KEY);
    DeleteKeyTree(HKEY_CLASSES_ROOT, HANDLER_KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, PROGRAMS_KEY);
    DeleteKeyTree(HKEY_CURRENT_USER, MAKER_KEY);
    DeleteFileW(MODULE_PATH);
    DeleteFileW(SETTINGS_PROGRAM_PATH);
    DeleteFileW(Shortcut(language.name).c_str());
}

TEST(Setup, InstallsTheSettingsProgramWithItsStartMenuShortcut) {
    const Language language = Expected();
    const ReportedBuild build;
    build.Set(L"19045");
    ScratchFolder scratch;
    const std::wstring setup = scratch.Path() + L"\\QuorielSetup.exe";
    ASSERT_TRUE(CopyFileW(FromLinuxPath(QUORIEL_SETUP).c_str(), setup.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(FromLinuxPath(QUORIEL_MODULE).c_str(),
                          (scratch.Path() + L"\\" + MODULE_FILE).c_str(), FALSE));
    const std::vector<uint8_t> program(STAND_IN, STAND_IN + sizeof(STAND_IN));
    const std::wstring settingsLine = std::wstring(L"Settings: Start menu > ") + language.name +
                                      L" (" + SETTINGS_PROGRAM_PATH + L")\n";
    Clean(language);
    const struct {
        const char* name;
        bool otherShortcutBefore;
    } runs[] = {{"fresh", false}, {"again over an installation in the other language", true}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        scratch.Write(SETTINGS_FILE, program);
        if (run.otherShortcutBefore) {
            UniqueFile other(CreateFileW(Shortcut(language.other).c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(other);
        }
        std::string output;
        ASSERT_EQ(RunToEnd(L"\"" + setup + L"\"", &output), 0) << output;
        EXPECT_EQ(Lines(output), INSTALLED_LINE + settingsLine);
        EXPECT_EQ(TryReadFileBytes(SETTINGS_PROGRAM_PATH), program);
        const std::optional<ShortcutFile> shortcut = ReadShortcut(Shortcut(language.name));
        ASSERT_TRUE(shortcut.has_value());
        EXPECT_EQ(shortcut->target, SETTINGS_PROGRAM_PATH);
        EXPECT_EQ(shortcut->description, language.description);
        EXPECT_EQ(GetFileAttributesW(Shortcut(language.other).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    {
        SCOPED_TRACE("no settings program beside the installer");
        Clean(language);
        DeleteFileW((scratch.Path() + L"\\" + SETTINGS_FILE).c_str());
        std::string output;
        EXPECT_EQ(RunToEnd(L"\"" + setup + L"\"", &output), 1);
        EXPECT_EQ(Lines(output),
                  L"Quoriel setup failed: copying QuorielSettings.exe beside Quoriel.dll (error "
                  L"2). Run it as administrator.\n");
        EXPECT_EQ(GetFileAttributesW(Shortcut(language.name).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    Clean(language);
}

}  // namespace
