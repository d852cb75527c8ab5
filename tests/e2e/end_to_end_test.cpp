// From a fresh prefix to a launched map URL and back to a clean machine: the installer from the
// unpacked release archive in quiet mode, with the settings program and its Start menu
// shortcut, COM activation through the registry as Explorer does it, and removal from Settings >
// Apps: the entry's command run as the registry holds it, with the module's boxes answered, and
// its quiet command after a second installation.
#include <gtest/gtest.h>
#include <objbase.h>

#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/owners.h"
#include "common/registry_names.h"
#include "common/settings_shortcut.h"
#include "tests/support/child_process.h"
#include "tests/support/launch_record.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/pending_renames.h"
#include "tests/support/program_window.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/shortcut_file.h"
#include "tests/host/shell_host.h"
#include "tests/support/test_window.h"

namespace {

// The prefix's windows are English, so setup gives the account English boxes and help text.
constexpr const wchar_t* HELP_TEXT = L"Opens the GPS position stored in the file.";
constexpr const wchar_t* HTTPS_COMMAND = L"https\\shell\\open\\command";
// What /formats switches on, as users of earlier versions were given it.
constexpr const wchar_t* PHOTO_FORMATS =
    L"image/heic; image/heif; image/avif; image/webp; image/png";

std::wstring Photo(const char* name) {
    return FromLinuxPath(std::string(QUORIEL_TEST_DATA "/corpus/") + name);
}

// No browser here: https goes to the launch recorder.
void RouteHttpsToRecorder() {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, HTTPS_COMMAND, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    const std::wstring command = L"C:\\qrtest\\launch-recorder.exe %1";
    ASSERT_EQ(RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::wstring ReadText(HKEY root, const wchar_t* path, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return L"(missing)";
    }
    return value;
}

// What the installed-programs entry says.
std::wstring EntryValue(const wchar_t* name) {
    return ReadText(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, name);
}

std::wstring ActiveSetupValue(const wchar_t* name) {
    return ReadText(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, name);
}

std::wstring Setting(const wchar_t* name) {
    return ReadText(HKEY_CURRENT_USER, SETTINGS_KEY, name);
}

void SetSetting(const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// An account that has never signed in since the installation: no settings at all until the
// step, run as the registry holds it, gives it the default map and the recorded formats.
void ExpectFirstSignInSettings(const std::wstring& step, const wchar_t* formats) {
    const std::wstring map = Setting(L"Object");
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    EXPECT_EQ(RunToEnd(step), 0) << testing::PrintToString(step);
    EXPECT_EQ(Setting(L"Object"), map) << "the default map";
    EXPECT_EQ(Setting(L"Formats"), formats == nullptr ? L"(missing)" : formats);
    EXPECT_EQ(Setting(L"Language"), LANGUAGE_ENGLISH);
}

void ExpectNothingRegistered() {
    for (const auto& key : {std::make_pair(HKEY_CLASSES_ROOT, CLASS_KEY),
                            std::make_pair(HKEY_CLASSES_ROOT, HANDLER_KEY),
                            std::make_pair(HKEY_LOCAL_MACHINE, PROGRAMS_KEY),
                            std::make_pair(HKEY_CURRENT_USER, MAKER_KEY)}) {
        EXPECT_FALSE(KeyExists(key.first, key.second))
            << testing::PrintToString(std::wstring(key.second));
    }
}

// What the module's version resource says.
std::wstring FileVersion(const wchar_t* path) {
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path, nullptr));
    wchar_t* value = nullptr;
    UINT length = 0;
    if (info.empty() ||
        !GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()) ||
        !VerQueryValueW(info.data(), L"\\StringFileInfo\\041104B0\\FileVersion",
                        reinterpret_cast<void**>(&value), &length)) {
        return L"(missing)";
    }
    return value;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

// Right-clicks a photo on an apartment thread with the boxes answered.
struct Apartment {
    Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() {
        CoFreeUnusedLibraries();
        CoUninitialize();
    }
};

TEST(EndToEnd, InstallRightClickLaunchUninstall) {
    RouteHttpsToRecorder();
    ASSERT_EQ(RunToEnd(L"\"" + FromLinuxPath(QUORIEL_SETUP) + L"\" /quiet"), 0)
        << "the installer failed";
    EXPECT_NE(GetFileAttributesW(MODULE_PATH), INVALID_FILE_ATTRIBUTES);
    // The version in the archive's name is the one the user is shown.
    EXPECT_EQ(EntryValue(L"DisplayVersion"), QUORIEL_VERSION);
    EXPECT_EQ(FileVersion(MODULE_PATH), QUORIEL_VERSION);
    const std::wstring shortcut =
        CommonProgramsFolder() + L"\\" + ShortcutFor(GetUserDefaultUILanguage()).file;
    const std::optional<ShortcutFile> link = ReadShortcut(shortcut);
    ASSERT_TRUE(link.has_value()) << "the Start menu shortcut";
    EXPECT_EQ(link->target, SETTINGS_PROGRAM_PATH);
    EXPECT_NE(GetFileAttributesW(SETTINGS_PROGRAM_PATH), INVALID_FILE_ATTRIBUTES);

    {
        SCOPED_TRACE("another account's first sign-in, as Active Setup runs its step");
        const std::wstring step = ActiveSetupValue(L"StubPath");
        ExpectFirstSignInSettings(step, nullptr);
        // Windows' note that the account has run the step, which Uninstall must take away.
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, ACTIVE_SETUP_KEY, L"Version", REG_SZ,
                                  L"1,0,0,1", sizeof(L"1,0,0,1")),
                  ERROR_SUCCESS);
        // An account with settings of its own keeps them.
        const std::wstring north = Setting(L"N");
        SetSetting(L"N", L"north");
        EXPECT_EQ(RunToEnd(step), 0);
        EXPECT_EQ(Setting(L"N"), L"north");
        SetSetting(L"N", north);
    }

    TestWindow owner;
    {
        SCOPED_TRACE("a photo with a position");
        Apartment apartment;
        MessageBoxRecorder boxes;
        LaunchRecord record;
        const ShellHostRun run = RightClickAndChoose(Photo("DSCN0010.jpg"), owner.Get());
        EXPECT_EQ(run.created, S_OK);
        EXPECT_TRUE(SameFile(run.modulePath, MODULE_PATH)) << "loaded from the registered path";
        EXPECT_EQ(run.initialized, S_OK);
        EXPECT_EQ(run.menu, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
        EXPECT_EQ(run.item, L"Quoriel");
        EXPECT_EQ(run.helpText, HELP_TEXT);
        EXPECT_EQ(run.invoked, S_OK);
        const auto launched = record.Wait();
        ASSERT_TRUE(launched.has_value());
        EXPECT_EQ(LaunchRecord::Arguments(*launched),
                  L"https://www.openstreetmap.org/?mlat=43.467448&mlon=11.885126#map=16/"
                  L"43.467448/11.885126");
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    {
        SCOPED_TRACE("a photo without a position");
        Apartment apartment;
        MessageBoxRecorder boxes;
        const ShellHostRun run = RightClickAndChoose(Photo("Canon_40D.jpg"), owner.Get());
        EXPECT_EQ(run.invoked, S_FALSE);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(
            IsCommandBox(boxes.Boxes()[0], TEXT_NO_POSITION_EN, MB_ICONINFORMATION, owner.Get()));
    }
    {
        SCOPED_TRACE("a template pointing at a missing program");
        // Changed in place: the uninstall below must find the installed settings key.
        const std::wstring missing = L"C:\\nowhere\\viewer.exe @Ad @Od";
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, L"Object", REG_SZ, missing.c_str(),
                            static_cast<DWORD>((missing.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
        Apartment apartment;
        MessageBoxRecorder boxes;
        const ShellHostRun run = RightClickAndChoose(Photo("gps_mm.tiff"), owner.Get());
        EXPECT_EQ(run.invoked, S_FALSE);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(
            IsCommandBox(boxes.Boxes()[0], TEXT_LAUNCH_FAILED_EN, MB_ICONINFORMATION, owner.Get()));
    }
    {
        SCOPED_TRACE("removal from Settings > Apps, with the module's own boxes");
        const int deletions = ModuleDeletions();
        const int programDeletions = DeletionsOf(SETTINGS_PROGRAM_PATH);
        const int setupDeletions = DeletionsOf(SETUP_PROGRAM_PATH);
        const std::wstring command = EntryValue(L"UninstallString");
        const size_t programEnd = command.find(L"\" ", 1);
        ASSERT_EQ(command.find(L'"'), 0u) << "a quoted program, then its arguments";
        ASSERT_NE(programEnd, std::wstring::npos);
        ProgramWindow removal(command.substr(1, programEnd - 1), {},
                              command.substr(programEnd + 2));
        ASSERT_TRUE(removal.Shown());
        EXPECT_EQ(removal.Caption(), CAPTION_UNINSTALL_EN);
        EXPECT_EQ(removal.Text(MESSAGE_TEXT), TEXT_CONFIRM_UNINSTALL_EN);
        EXPECT_NE(removal.Control(IDCANCEL), nullptr);
        removal.Click(IDOK);
        ASSERT_TRUE(removal.NextDialog());
        EXPECT_EQ(removal.Text(MESSAGE_TEXT), TEXT_UNINSTALLED_EN);
        removal.Click(IDOK);
        EXPECT_EQ(removal.WaitForExit(), 0u);
        EXPECT_EQ(ModuleDeletions(), deletions + 1);
        EXPECT_EQ(DeletionsOf(SETTINGS_PROGRAM_PATH), programDeletions + 1);
        EXPECT_EQ(DeletionsOf(SETUP_PROGRAM_PATH), setupDeletions + 1) << "nothing left of setup";
        EXPECT_EQ(GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
        ExpectNothingRegistered();
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ACTIVE_SETUP_KEY))
            << "a later installation sets the account up again";
    }
    {
        SCOPED_TRACE("the quiet removal a deployment tool runs");
        ASSERT_EQ(RunToEnd(L"\"" + FromLinuxPath(QUORIEL_SETUP) + L"\" /quiet /formats"), 0);
        // Installed again before Windows restarts: the restart must not delete the new files.
        for (const wchar_t* file : {MODULE_PATH, SETTINGS_PROGRAM_PATH, SETUP_PROGRAM_PATH}) {
            EXPECT_EQ(DeletionsOf(file), 0) << testing::PrintToString(std::wstring(file));
        }
        ExpectFirstSignInSettings(ActiveSetupValue(L"StubPath"), PHOTO_FORMATS);
        const int setupDeletions = DeletionsOf(SETUP_PROGRAM_PATH);
        EXPECT_EQ(RunToEnd(EntryValue(L"QuietUninstallString"), 30000), 0) << "no box waits";
        EXPECT_EQ(DeletionsOf(SETUP_PROGRAM_PATH), setupDeletions + 1);
        EXPECT_EQ(GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
        ExpectNothingRegistered();
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY)) << "no account set up now";
    }
}

}  // namespace
