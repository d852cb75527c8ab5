// What the installer writes, checked value by value in the prefix's registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/owners.h"
#include "common/package_presence.h"
#include "common/powershell_command.h"
#include "common/registry_names.h"
#include "install/file_placement.h"
#include "install/installation.h"
#include "install/windows_version.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/reported_build.h"
#include "quoriel_version.h"

namespace {

std::wstring ReadString(HKEY root, const wchar_t* path, const wchar_t* name) {
    wchar_t text[512] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(root, path, name, RRF_RT_ANY, &type, text, &size) != ERROR_SUCCESS) {
        return L"(missing)";
    }
    return type == REG_SZ ? text : L"(not REG_SZ)";
}

// A REG_DWORD under HKEY_LOCAL_MACHINE; 0xFFFFFFFF when there is none.
DWORD ReadNumber(const wchar_t* path, const wchar_t* name) {
    DWORD number = 0;
    DWORD bytes = sizeof(number);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_DWORD, nullptr, &number, &bytes) !=
        ERROR_SUCCESS) {
        return 0xFFFFFFFF;
    }
    return number;
}

struct MachineKeysGone {
    ~MachineKeysGone() {
        DeleteKeyTree(HKEY_CLASSES_ROOT, CLASS_KEY);
        DeleteKeyTree(HKEY_CLASSES_ROOT, HANDLER_KEY);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, PROGRAMS_KEY);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY);
    }
};

TEST(Installation, RegistersTheHandlerAndTheInstalledProgramsEntry) {
    MachineKeysGone cleanup;
    const std::wstring module = L"C:\\windows\\system32\\ShellExt\\Quoriel.dll";
    const std::wstring setup = L"C:\\windows\\system32\\ShellExt\\QuorielSetup.exe";
    const std::wstring settings = L"C:\\windows\\system32\\ShellExt\\QuorielSettings.exe";
    ASSERT_TRUE(RegisterModule(module));
    ASSERT_TRUE(WriteProgramsEntry(setup, module, 1234));
    ASSERT_TRUE(RegisterAccountStep(settings, FormatsChoice::PHOTOS));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, HANDLER_KEY)) << "Windows 11 may not want it";
    ASSERT_TRUE(RegisterClassicHandler());
    const struct {
        HKEY root;
        const wchar_t* path;
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {HKEY_CLASSES_ROOT, CLASS_KEY, nullptr, L"Quoriel"},
        {HKEY_CLASSES_ROOT, SERVER_KEY, nullptr, module},
        {HKEY_CLASSES_ROOT, SERVER_KEY, L"ThreadingModel", L"Apartment"},
        {HKEY_CLASSES_ROOT, HANDLER_KEY, nullptr, L"Quoriel"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"DisplayName", L"Quoriel 64ビット版"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"DisplayVersion", L"" QUORIEL_VERSION_TEXT},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"Publisher", L"Vantorel"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"UninstallString", L"\"" + setup + L"\" /uninstall"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"QuietUninstallString",
         L"\"" + setup + L"\" /uninstall /quiet"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"DisplayIcon", module + L",0"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"InstallLocation", L"C:\\windows\\system32\\ShellExt"},
        {HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"AccountFormats", FormatsFor(FormatsChoice::PHOTOS)},
        {HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, nullptr, L"Quoriel 64ビット版"},
        {HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, L"StubPath", L"\"" + settings + L"\" /account"},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(v.path)));
        EXPECT_EQ(ReadString(v.root, v.path, v.name), v.value);
    }
    EXPECT_EQ(ReadNumber(ACTIVE_SETUP_KEY, L"IsInstalled"), 1u);
    // Each installation's own time, so that Active Setup reaches every account again.
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    const std::wstring stamp = ReadString(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, L"Version");
    EXPECT_EQ(stamp.rfind(std::to_wstring(now.wYear) + L",", 0), 0u) << stamp;
    EXPECT_EQ(std::count(stamp.begin(), stamp.end(), L','), 3);
    EXPECT_EQ(ReadNumber(PROGRAMS_KEY, L"EstimatedSize"), 1234u);
    ASSERT_TRUE(RegisterModule(module)) << "installing again over an installation";
    ASSERT_TRUE(RegisterAccountStep(settings, FormatsChoice::NONE));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, L"AccountFormats"), L"(missing)")
        << "new accounts get no formats from a reinstall without them";
}

TEST(Installation, Windows11IsBuild22000AndLaterAndNothingUnreadable) {
    const ReportedBuild build;
    const struct {
        DWORD type;
        std::wstring data;  // with its NUL where it has one
        bool windows11;
    } cases[] = {
        {REG_SZ, std::wstring(L"22000", 6), true},
        {REG_SZ, std::wstring(L"26100", 6), true},
        {REG_SZ, std::wstring(L"21999", 6), false},
        {REG_SZ, std::wstring(L"19045", 6), false},
        {REG_SZ, std::wstring(L"", 1), false},
        {REG_SZ, std::wstring(L"22000a", 7), false},
        {REG_SZ, std::wstring(L"-22000", 7), false},
        {REG_SZ, std::wstring(L"99999999999", 12), false},  // longer than any build number
        {REG_SZ, std::wstring(L"4294967296", 11), true},    // ten digits, 2^32: no wrap to 0
        {REG_SZ, std::wstring(L"22631", 5), true},          // without its NUL
        {REG_DWORD, std::wstring(L"\x5848\0", 2), false},   // 22600 as a number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.data));
        build.Set(c.type, c.data);
        EXPECT_EQ(IsWindows11OrLater(), c.windows11);
    }
    build.Remove();
    EXPECT_FALSE(IsWindows11OrLater()) << "no build number";
}

TEST(Installation, PowerShellStringsDoubleEveryQuoteCharacter) {
    const struct {
        std::wstring text;
        std::wstring literal;
    } cases[] = {
        {L"C:\\Setup\\Quoriel.msix", L"'C:\\Setup\\Quoriel.msix'"},
        {L"C:\\Bob's \"files\"\\", L"'C:\\Bob''s \"files\"\\'"},
        {L"$env:TEMP `n", L"'$env:TEMP `n'"},  // literal in single quotes already
        {L"\x2018"
         L"a\x2019"
         L"b\x201A\x201B",
         L"'\x2018\x2018"
         L"a\x2019\x2019"
         L"b\x201A\x201A\x201B\x201B'"},
        {L"", L"''"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PowerShellLiteral(c.text), c.literal);
    }
}

TEST(Installation, KeepsTheUsersOwnSettings) {
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
    settings.SetString(L"Object", L"mine @Ad");
    ASSERT_TRUE(WriteDefaultSettings());
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, SETTINGS_KEY, L"Object"), L"mine @Ad");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, SETTINGS_KEY, L"N"), L"(missing)");
}

TEST(Installation, PlacesTheModuleInANewFolder) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"QuorielInstallTest";
    const std::wstring target = folder + L"\\Quoriel.dll";
    DeleteFileW(target.c_str());
    RemoveDirectoryW(folder.c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_EQ(PlaceFile(self, target).error, static_cast<DWORD>(ERROR_SUCCESS));
    const FilePlacement again = PlaceFile(self, target);
    EXPECT_EQ(again.error, static_cast<DWORD>(ERROR_SUCCESS)) << "over an earlier copy";
    EXPECT_FALSE(again.movedAside) << "a file nobody holds is overwritten";
    EXPECT_NE(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(target.c_str());
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(InstalledModulePath(), L"C:\\windows\\system32\\ShellExt\\Quoriel.dll");
}

// The classic handler steps aside exactly when Windows counts the package for the account.
TEST(Installation, PackageCountedForTheAccountOnlyWhenWindowsSaysSo) {
    const struct {
        const char* name;
        LONG result;
        UINT32 count;
        bool registered;
    } cases[] = {
        {"registered: the names would need room", ERROR_INSUFFICIENT_BUFFER, 1, true},
        {"none", ERROR_SUCCESS, 0, false},
        {"an error, whatever the count", ERROR_INVALID_PARAMETER, 1, false},
    };
    static LONG answer = 0;
    static UINT32 counted = 0;
    const GetPackagesByFamilyFunction fake = [](PCWSTR family, UINT32* count, PWSTR*, UINT32*,
                                                WCHAR*) -> LONG {
        *count = lstrcmpW(family, PACKAGE_FAMILY) == 0 ? counted : 0;
        return answer;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        answer = c.result;
        counted = c.count;
        EXPECT_EQ(PackageRegisteredWith(fake, PACKAGE_FAMILY), c.registered);
    }
    EXPECT_FALSE(PackageRegisteredWith(nullptr, PACKAGE_FAMILY)) << "before Windows 8: none";
    EXPECT_FALSE(PackageRegisteredForUser()) << "Wine has no packages";
}

}  // namespace
