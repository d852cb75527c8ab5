// The Uninstall export run for real in the test prefix: machine-wide keys, the current user's
// settings, user profiles with hives of their own, the scheduled deletion of the module file,
// and the exact sequence of message boxes.
#include <gtest/gtest.h>

#include "common/messages.h"
#include "common/owners.h"
#include "tests/support/account_language.h"
#include "tests/support/quoriel_module.h"
#include "tests/support/scratch_file.h"
#include "tests/uninstall/uninstall_fixture.h"
#include "uninstall/admin_check.h"

namespace {

std::wstring Sid(int n) {
    return L"S-1-5-21-7000-7001-7002-" + std::to_wstring(1000 + n);
}

// A profile list name longer than the walk's first name buffer of 128 characters.
std::wstring LongSid() {
    return L"S-1-5-21-" + std::wstring(190, L'7');
}

TEST(Uninstall, CancelledConfirmationChangesNothing) {
    CleanSlate slate;
    CreateMachineKeys();
    CreateUserKeys(HKEY_CURRENT_USER, false);
    const int deletions = ModuleDeletions();
    for (const LanguageCase& language : LANGUAGE_CASES) {
        SetAccountLanguage(language.value);
        for (int answer : {IDCANCEL, ANSWER_ENTER, ANSWER_CLOSE}) {
            SCOPED_TRACE(std::string(language.name) + ", answer " + std::to_string(answer));
            ExpectBoxes(RunUninstall({answer}), {Box::CONFIRM}, language.texts);
            EXPECT_TRUE(AllMachineKeysThere());
            EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, SETTINGS_PATH));
            EXPECT_EQ(ModuleDeletions(), deletions);
        }
    }
}

// One folder of the test per profile, each with a hive file made from the given keys.
class ProfileFolders {
  public:
    std::wstring Hive(const std::wstring& name, bool settings, bool otherProduct) {
        const std::wstring folder = Folder(name);
        SaveUserHive(folder + L"\\ntuser.dat", settings, otherProduct);
        return folder;
    }
    std::wstring Folder(const std::wstring& name) {
        const std::wstring folder = folder_.Path() + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    const std::wstring& Root() const { return folder_.Path(); }

  private:
    ScratchFolder folder_;
};

TEST(Uninstall, CompleteRunRemovesEverythingItNamesAndNothingElse) {
    CleanSlate slate;
    EnableHivePrivileges();
    ProfileFolders folders;
    const std::wstring loggedOnFolder = folders.Hive(L"on", true, false);
    const std::wstring sharedFolder = folders.Hive(L"shared", true, true);
    SetEnvironmentVariableW(L"QUORIEL_TEST_PROFILES", folders.Root().c_str());
    TestProfile loggedOff(Sid(1));
    folders.Hive(L"off", true, false);
    loggedOff.SetImagePath(L"%QUORIEL_TEST_PROFILES%\\off");
    TestProfile otherOnly(Sid(2));
    otherOnly.SetImagePath(folders.Hive(L"other", false, true));
    TestProfile loggedOn(Sid(3));
    loggedOn.SetImagePath(loggedOnFolder);
    LoadHiveAsLoggedOn(Sid(3), loggedOnFolder + L"\\ntuser.dat");
    TestProfile loggedOnShared(Sid(4));
    loggedOnShared.SetImagePath(sharedFolder);
    LoadHiveAsLoggedOn(Sid(4), sharedFolder + L"\\ntuser.dat");
    TestProfile folderGone(Sid(5));
    folderGone.SetImagePath(folders.Root() + L"\\gone");
    TestProfile noImagePath(Sid(6));
    TestProfile longName(LongSid());
    longName.SetImagePath(folders.Hive(L"long", true, false));
    CreateMachineKeys();
    CreateUserKeys(HKEY_CURRENT_USER, false);
    SetAccountLanguage(LANGUAGE_ENGLISH);

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run == 1 ? "first run" : "second run finds nothing left");
        const int deletions = ModuleDeletions();
        // The language is read before the cleanup; the second run finds no value.
        ExpectBoxes(RunUninstall({IDOK}), {Box::CONFIRM, Box::DONE},
                    run == 1 ? ENGLISH_MESSAGES : JAPANESE_MESSAGES);
        EXPECT_FALSE(MachineKeysLeft());
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, MAKER_KEY)) << "values alone do not keep it";
        EXPECT_EQ(ModuleDeletions(), deletions + 1);
        for (const TestProfile* profile : {&loggedOff, &otherOnly, &longName}) {
            EXPECT_FALSE(HiveLoaded(profile->Sid())) << "hives the walk loaded are unloaded";
        }
        for (const TestProfile* profile : {&loggedOn, &loggedOnShared}) {
            EXPECT_TRUE(HiveLoaded(profile->Sid())) << "logged-on users' hives stay loaded";
        }
        EXPECT_TRUE(HiveLoaded(L"S-1-5-21-0-0-0-1000"));
        const HiveState on = InspectLoadedHive(Sid(3));
        EXPECT_FALSE(on.settings);
        EXPECT_FALSE(on.maker);
        const HiveState shared = InspectLoadedHive(Sid(4));
        EXPECT_FALSE(shared.settings);
        EXPECT_TRUE(shared.maker) << "another product's key keeps the maker's key";
        EXPECT_TRUE(shared.otherProduct);
    }
}

TEST(Uninstall, LoggedOffProfileIsReallyLoaded) {
    CleanSlate slate;
    EnableHivePrivileges();
    ProfileFolders folders;
    // Settings with a subkey of their own cannot be deleted: only a walk that loaded the hive
    // and tried can know that.
    const std::wstring folder = folders.Folder(L"stuck");
    {
        ScratchKey source(HKEY_CURRENT_USER, L"Software\\QuorielStuckHive");
        ScratchKey inner(HKEY_CURRENT_USER, std::wstring(L"Software\\QuorielStuckHive\\") +
                                                SETTINGS_PATH + L"\\Inner");
        ASSERT_EQ(RegSaveKeyW(source.Get(), (folder + L"\\ntuser.dat").c_str(), nullptr),
                  ERROR_SUCCESS);
    }
    TestProfile stuck(Sid(7));
    stuck.SetImagePath(folder);
    ExpectBoxes(RunUninstall({IDOK}), {Box::CONFIRM, Box::REGISTRY_LEFT});
    EXPECT_FALSE(HiveLoaded(Sid(7)));
}

TEST(Uninstall, RegistryWarningThenFileFailure) {
    for (const LanguageCase& language : LANGUAGE_CASES) {
        SCOPED_TRACE(language.name);
        CleanSlate slate;
        EnableHivePrivileges();
        ScratchFolder folder;
        CreateMachineKeys();
        ScratchKey extra(HKEY_CLASSES_ROOT, std::wstring(CLASS_KEY) + L"\\Extra");
        CreateUserKeys(HKEY_CURRENT_USER, true);
        SetAccountLanguage(language.value);
        // A profile folder without a hive file: the load fails with ERROR_FILE_NOT_FOUND.
        CreateDirectoryW((folder.Path() + L"\\nohive").c_str(), nullptr);
        TestProfile unloadable(Sid(6));
        unloadable.SetImagePath(folder.Path() + L"\\nohive");
        const int deletions = ModuleDeletions();
        {
            SessionManagerLocked locked;
            ExpectBoxes(RunUninstall({IDOK}), {Box::CONFIRM, Box::REGISTRY_LEFT, Box::FILES_LEFT},
                        language.texts);
        }
        EXPECT_EQ(ModuleDeletions(), deletions);
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, SERVER_KEY));
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, CLASS_KEY)) << "it still has another subkey";
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, HANDLER_KEY)) << "later steps are still done";
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, PROGRAMS_KEY));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SETTINGS_PATH));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, OTHER_PRODUCT_PATH));
    }
}

TEST(Uninstall, HostileProfilePathsAreFailuresNotCrashes) {
    CleanSlate slate;
    EnableHivePrivileges();
    ProfileFolders folders;
    const std::wstring good = folders.Hive(L"good", true, false);
    const std::wstring unterminated = L"C:\\" + std::wstring(257, L'u');  // 260, no NUL
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'l');
    SetEnvironmentVariableW(L"QUORIEL_TEST_LONG", std::wstring(300, L'e').c_str());
    const struct {
        int n;
        DWORD type;
        std::wstring data;
    } paths[] = {
        {7, REG_SZ, unterminated},
        {8, REG_SZ, tooLong + L'\0'},
        {9, REG_EXPAND_SZ, std::wstring(L"%QUORIEL_TEST_LONG%") + L'\0'},
        {10, REG_BINARY, std::wstring(L"\0", 1)},
    };
    std::vector<std::unique_ptr<TestProfile>> profiles;
    for (const auto& p : paths) {
        profiles.push_back(std::make_unique<TestProfile>(Sid(p.n)));
        const auto* bytes = reinterpret_cast<const uint8_t*>(p.data.data());
        profiles.back()->SetImagePathData(p.type, {bytes, bytes + p.data.size() * 2});
    }
    TestProfile loggedOn(Sid(11));
    loggedOn.SetImagePath(good);
    LoadHiveAsLoggedOn(Sid(11), good + L"\\ntuser.dat");
    CreateMachineKeys();
    const int deletions = ModuleDeletions();
    // The registry cleanup is incomplete and the file is scheduled: its warning is the last box.
    ExpectBoxes(RunUninstall({IDOK}), {Box::CONFIRM, Box::REGISTRY_LEFT});
    EXPECT_EQ(ModuleDeletions(), deletions + 1);
    EXPECT_FALSE(MachineKeysLeft());
    EXPECT_FALSE(InspectLoadedHive(Sid(11)).settings) << "the other profiles are still handled";
}

TEST(Uninstall, LimitedTokenIsRefused) {
    CleanSlate slate;
    CreateMachineKeys();
    for (const LanguageCase& language : LANGUAGE_CASES) {
        SCOPED_TRACE(language.name);
        SetAccountLanguage(language.value);
        ScratchFolder folder;
        const std::wstring report = folder.Path() + L"\\boxes.txt";
        UniqueHandle token;
        ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put()));
        TOKEN_LINKED_TOKEN linked = {};
        DWORD size = 0;
        ASSERT_TRUE(
            GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof(linked), &size));
        UniqueHandle limited(linked.LinkedToken);
        const std::string runner = QUORIEL_UNINSTALL_RUNNER;
        std::wstring commandLine = L"\"Z:" + std::wstring(runner.begin(), runner.end()) + L"\" \"" +
                                   QuorielModule::Path() + L"\" \"" + report + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessAsUserW(limited.Get(), nullptr, commandLine.data(), nullptr,
                                         nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        UniqueHandle child(process.hProcess);
        UniqueHandle thread(process.hThread);
        ASSERT_EQ(WaitForSingleObject(child.Get(), 60000), WAIT_OBJECT_0);
        const std::vector<uint8_t> bytes = ReadFileBytes(report);
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        // The captions as the user reads them, not the product's own constants.
        const std::wstring caption =
            language.value == nullptr ? L"Quoriel アンインストール" : L"Quoriel Uninstall";
        const std::wstring expected = caption + L"\x1F" + language.texts.adminRequired + L"\x1F" +
                                      std::to_wstring(MB_ICONERROR) +
                                      L"\x1F"
                                      L"1,\x1F"
                                      L"1\x1F"
                                      L"0\x1E";
        EXPECT_EQ(text, expected) << "one box: the refusal, OK only, no owner";
        EXPECT_TRUE(AllMachineKeysThere());
    }
}

TEST(AdministratorTest, GroupListIsReadWhateverTheAttributes) {
    UniqueHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, token.Put()));
    EXPECT_TRUE(TokenListsAdministrators(token.Get()));
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    ASSERT_TRUE(AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                         DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                         administrators.Put()));
    SID_AND_ATTRIBUTES disabled = {administrators.Get(), 0};
    UniqueHandle restricted;
    ASSERT_TRUE(CreateRestrictedToken(token.Get(), 0, 1, &disabled, 0, nullptr, 0, nullptr,
                                      restricted.Put()));
    EXPECT_TRUE(TokenListsAdministrators(restricted.Get())) << "a deny-only group passes";
    EXPECT_TRUE(IsWindowsVistaOrLater());
    EXPECT_TRUE(HasAdministratorRights()) << "Wine's processes run elevated";
}

}  // namespace
