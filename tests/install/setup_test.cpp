// The real QuorielSetup.exe before Windows 11, in quiet mode as deployment tools run it: the
// settings program copied beside the module with the Start menu shortcut to it, named in the
// user's language; the lines it writes to its output and its log; its exit codes; and the
// built file's own declarations. ctest runs it once more under a Japanese user language.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/owners.h"
#include "common/package_identity.h"
#include "common/registry_names.h"
#include "tests/support/child_process.h"
#include "tests/support/pending_renames.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/reported_build.h"
#include "tests/support/scratch_file.h"
#include "tests/support/setup_run.h"
#include "tests/support/shortcut_file.h"

namespace {

// Any bytes will do: the installer copies the program and never starts it.
constexpr const char STAND_IN[] = "MZ settings program stand-in";

struct Language {
    const wchar_t* name;
    const wchar_t* other;
    const wchar_t* description;
    const wchar_t* boxes;  // the "Language" value setup writes
    const wchar_t* otherBoxes;
};

// What the user sees, by the test's own user interface language.
Language Expected() {
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
        return {L"Quoriel の設定", L"Quoriel Settings",
                L"Quoriel が開く地図サービスと、右クリックで扱う写真・動画の形式を選びます",
                LANGUAGE_JAPANESE, LANGUAGE_ENGLISH};
    }
    return {L"Quoriel Settings", L"Quoriel の設定",
            L"Choose the map service Quoriel opens and the photo and video formats it offers",
            LANGUAGE_ENGLISH, LANGUAGE_JAPANESE};
}

std::wstring BoxesLanguage() {
    wchar_t text[8] = {};
    DWORD size = sizeof(text);
    return RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_LANGUAGE, RRF_RT_REG_SZ, nullptr,
                        text, &size) == ERROR_SUCCESS
               ? text
               : L"(missing)";
}

std::wstring Shortcut(const wchar_t* name) {
    return CommonProgramsFolder() + L"\\" + name + L".lnk";
}

// Every line of a quiet installation before Windows 11, from the title to the settings.
std::wstring InstalledLines(const Language& language, bool again) {
    const std::wstring folder = L"C:\\windows\\system32\\ShellExt";
    return SETUP_TITLE_LINE + L"Copy Quoriel.dll to " + folder + L": done\n" +
           L"Copy the settings program to " + folder + L": done\n" + L"Keep the setup program in " +
           folder + L" for removal: done\n" +
           L"Register the Quoriel command and its entry in Settings > Apps: done\n" +
           L"Give every other account of this PC its settings at its next sign-in: done\n" +
           L"Write the map settings for this account: " +
           (again ? L"kept the settings this account already has\n" : L"done\n") + L"Add \"" +
           language.name + L"\" to the Start menu: done\n" + INSTALLED_HEADLINE +
           L"Right-click a photo and choose Quoriel. On Windows 11, it is under \"Show more "
           L"options\".\n" +
           L"Settings: Start menu > " + language.name + L" (" + SETTINGS_PROGRAM_PATH + L")\n";
}

TEST(Setup, InstallsQuietlyWithTheSettingsProgramAndItsStartMenuShortcut) {
    const Language language = Expected();
    const ReportedBuild build;
    build.Set(L"19045");
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    const std::vector<uint8_t> program(STAND_IN, STAND_IN + sizeof(STAND_IN));
    const std::wstring log = scratch.Path() + L"\\setup.log";
    CleanInstallation();
    const struct {
        const char* name;
        bool again;  // over an installation in the other language, whose settings stay
    } runs[] = {{"fresh", false}, {"again over an installation in the other language", true}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        scratch.Write(SETTINGS_FILE, program);
        if (run.again) {
            UniqueFile other(CreateFileW(Shortcut(language.other).c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(other);
            // The account's own choice of language stays too.
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_LANGUAGE, REG_SZ,
                                      language.otherBoxes, 3 * sizeof(wchar_t)),
                      ERROR_SUCCESS);
        }
        std::string output;
        ASSERT_EQ(RunToEnd(Quoted(setup) + L" /quiet /log " + Quoted(log), &output), 0) << output;
        EXPECT_EQ(ConsoleLines(output), InstalledLines(language, run.again));
        EXPECT_EQ(LogLines(log), InstalledLines(language, run.again)) << "the same, in UTF-8";
        EXPECT_EQ(TryReadFileBytes(SETTINGS_PROGRAM_PATH), program);
        EXPECT_EQ(TryReadFileBytes(SETUP_PROGRAM_PATH), TryReadFileBytes(setup));
        const std::optional<ShortcutFile> shortcut = ReadShortcut(Shortcut(language.name));
        ASSERT_TRUE(shortcut.has_value());
        EXPECT_EQ(shortcut->target, SETTINGS_PROGRAM_PATH);
        EXPECT_EQ(shortcut->description, language.description);
        EXPECT_EQ(GetFileAttributesW(Shortcut(language.other).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS))
            << "no formats without /formats";
        EXPECT_EQ(BoxesLanguage(), run.again ? language.otherBoxes : language.boxes)
            << "the boxes in the language of the account's windows";
    }
    {
        SCOPED_TRACE("no settings program beside the installer");
        CleanInstallation();
        DeleteFileW((scratch.Path() + L"\\" + SETTINGS_FILE).c_str());
        std::string output;
        EXPECT_EQ(RunToEnd(Quoted(setup) + L" /quiet", &output), 1603);
        const std::wstring lines = ConsoleLines(output);
        const std::wstring failed =
            L"Copy the settings program to C:\\windows\\system32\\ShellExt: failed. ";
        EXPECT_NE(lines.find(failed), std::wstring::npos) << output;
        EXPECT_NE(lines.find(L" (error 2)\nQuoriel could not be installed.\n"), std::wstring::npos)
            << "the system's message, its number, and no hint: " << output;
        EXPECT_EQ(lines.find(L"administrator"), std::wstring::npos);
        EXPECT_EQ(GetFileAttributesW(Shortcut(language.name).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    CleanInstallation();
}

TEST(Setup, RefusesWrongArgumentsWithCode87BeforeChangingAnything) {
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    CleanInstallation();
    const wchar_t* const lines[] = {L"/bogus /quiet", L"/quiet /log", L"/uninstall /formats /quiet",
                                    L"/quiet /formats /formats:all", L"quiet /quiet"};
    for (const wchar_t* line : lines) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(line)));
        std::string output;
        EXPECT_EQ(RunToEnd(Quoted(setup) + L" " + line, &output), 87);
        EXPECT_NE(ConsoleLines(output).find(L"usage: QuorielSetup.exe"), std::wstring::npos);
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, CLASS_KEY));
    }
}

TEST(Setup, AsksForElevationAndIsAWindowsProgram) {
    const SetupDeclarations declared = ReadSetupDeclarations(FromLinuxPath(QUORIEL_SETUP));
    EXPECT_EQ(declared.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    // Elevated from a downloads folder, it must import nothing a DLL there could stand in for:
    // Windows' known DLLs, and common controls, which its manifest takes from the system.
    const std::vector<std::string> allowed = {"ADVAPI32.dll", "COMCTL32.dll", "KERNEL32.dll",
                                              "msvcrt.dll",   "ole32.dll",    "SHELL32.dll",
                                              "USER32.dll"};
    ASSERT_FALSE(declared.imports.empty());
    for (const std::string& dll : declared.imports) {
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), dll), allowed.end()) << dll;
    }
    for (const char* part :
         {"<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>",
          "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>", "PerMonitorV2",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""}) {
        EXPECT_NE(declared.manifest.find(part), std::string::npos) << part;
    }
}

}  // namespace
