// The real QuorielSetup.exe on a prefix that reports Windows 11 (and one that reports Windows 10):
// the package's certificate trusted in TrustedPeople, the package registration asked of
// PowerShell (a recorder stands in for it: Wine has none), the record for Uninstall, and the
// fall-back to the classic handler with its one line when the package cannot be registered.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/package_identity.h"
#include "common/settings_shortcut.h"
#include "common/thumbprint.h"
#include "common/registry_names.h"
#include "tests/support/certificate_store.h"
#include "tests/support/child_process.h"
#include "tests/support/pending_renames.h"
#include "tests/support/powershell_stand_in.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/reported_build.h"
#include "tests/support/scratch_file.h"
#include "tests/support/setup_run.h"
#include "tests/support/shortcut_file.h"
#include "quoriel_version.h"

namespace {

// The settings program and its shortcut, which tests/install/setup_test.cpp looks into.
const SettingsShortcut& SHORTCUT = ShortcutFor(GetUserDefaultUILanguage());
constexpr const wchar_t* PACKAGED_LINE = L"Add Quoriel to Windows 11's own menu: done\n";
constexpr const wchar_t* FALL_BACK_LINE_START =
    L"Add Quoriel to Windows 11's own menu: not possible (";
constexpr const wchar_t* FALL_BACK_LINE_END =
    L"); Quoriel is under \"Show more options\" instead\n";
// Where the result says the command is.
constexpr const wchar_t* AT_THE_TOP =
    L"Right-click a photo and choose Quoriel at the top of the menu.";
constexpr const wchar_t* SHOW_MORE =
    L"On Windows 11, right-click a photo, choose \"Show more options\", then Quoriel.";
constexpr const wchar_t* CLASSIC =
    L"Right-click a photo and choose Quoriel. On Windows 11, it is under \"Show more options\".";
constexpr const wchar_t* MODULE_FOLDER = L"C:\\windows\\system32\\ShellExt";
constexpr const wchar_t* KEPT_PACKAGE = L"C:\\windows\\system32\\ShellExt\\Quoriel.msix";
// An apostrophe and a space in the installer's folder: the package path must stay one
// PowerShell string.
constexpr const wchar_t* SETUP_FOLDER = L"Quoriel's setup";

std::vector<uint8_t> TestCertificate() {
    return ReadFileBytes(FromLinuxPath(QUORIEL_TEST_DATA "/install/test_publisher.cer"));
}

// What an installation leaves, removed before and after each case.
void Clean(const std::wstring& thumbprint) {
    CleanInstallation();
    RemoveFromMachineStore(TRUSTED_PEOPLE_STORE, thumbprint);
}

std::wstring RecordValue(const wchar_t* name) {
    wchar_t text[128] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return L"(none)";
    }
    return text;
}

enum class Files { BOTH, NO_CERTIFICATE, NOT_A_CERTIFICATE };
enum class Outcome { PACKAGED, CLASSIC };

struct Case {
    const char* name;
    const wchar_t* build;
    std::optional<int> powerShellExit;  // nothing: no PowerShell at all
    Files files;
    bool trustedBefore;   // the certificate is already in TrustedPeople
    bool classicBefore;   // an earlier installation left the classic handler
    bool asksPowerShell;  // the registration command is recorded
    Outcome outcome;
    const wchar_t* failure;  // inside the fall-back line's parentheses
    bool trustedAfter;
};

TEST(Windows11Setup, RegistersThePackageOrFallsBackToTheClassicHandler) {
    const std::vector<uint8_t> certificate = TestCertificate();
    const std::wstring thumbprint = Thumbprint(certificate);
    ASSERT_EQ(thumbprint.size(), 40u);
    const Case cases[] = {
        {"registered", L"22631", 0, Files::BOTH, false, false, true, Outcome::PACKAGED, nullptr,
         true},
        {"registered over an earlier installation, certificate there before", L"22000", 0,
         Files::BOTH, true, true, true, Outcome::PACKAGED, nullptr, true},
        {"Add-AppxPackage fails", L"22631", 1, Files::BOTH, false, false, true, Outcome::CLASSIC,
         L"Add-AppxPackage ended with exit code 1", false},
        {"fails, certificate there before stays", L"26100", 5, Files::BOTH, true, false, true,
         Outcome::CLASSIC, L"Add-AppxPackage ended with exit code 5", true},
        {"no PowerShell", L"22631", std::nullopt, Files::BOTH, false, false, false,
         Outcome::CLASSIC, L"PowerShell could not be started (error 2)", false},
        {"no certificate file", L"22631", 0, Files::NO_CERTIFICATE, false, false, false,
         Outcome::CLASSIC, L"Quoriel.cer is missing beside the installer", false},
        {"certificate refused", L"22631", 0, Files::NOT_A_CERTIFICATE, false, false, false,
         Outcome::CLASSIC, L"Quoriel.cer was refused (error 0x80092009)", false},
        {"Windows 10", L"19045", 0, Files::BOTH, false, false, false, Outcome::CLASSIC, nullptr,
         false},
    };
    ScratchFolder scratch;
    const std::wstring folder = scratch.Path() + L"\\" + SETUP_FOLDER;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring setup = folder + L"\\QuorielSetup.exe";
    ASSERT_TRUE(CopyFileW(FromLinuxPath(QUORIEL_SETUP).c_str(), setup.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(FromLinuxPath(QUORIEL_MODULE).c_str(),
                          (folder + L"\\" + MODULE_FILE).c_str(), FALSE));
    const std::wstring package = folder + L"\\" + PACKAGE_FILE;
    ASSERT_TRUE(CopyFileW(setup.c_str(), package.c_str(), FALSE)) << "any bytes: never opened";
    ASSERT_TRUE(CopyFileW(setup.c_str(), (folder + L"\\" + SETTINGS_FILE).c_str(), FALSE))
        << "any bytes: never started";
    const std::wstring certificateFile = folder + L"\\" + CERTIFICATE_FILE;
    // Earlier registrations go first; the package registered is the copy kept beside the module.
    const std::wstring addCommand =
        std::wstring(POWERSHELL_PREFIX) +
        L"$ErrorActionPreference = 'Stop'; Get-AppxPackage -AllUsers -Name 'Vantorel.Quoriel' | "
        L"Remove-AppxPackage -AllUsers; Add-AppxPackage -Path '" +
        KEPT_PACKAGE + L"' -ExternalLocation '" + MODULE_FOLDER + L"'" + POWERSHELL_SUFFIX;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clean(thumbprint);
        DeleteFileW(certificateFile.c_str());
        if (c.files != Files::NO_CERTIFICATE) {
            scratch.Write(std::wstring(SETUP_FOLDER) + L"\\" + CERTIFICATE_FILE,
                          c.files == Files::BOTH ? certificate : std::vector<uint8_t>(64, 0x30));
        }
        if (c.trustedBefore) {
            AddToMachineStore(TRUSTED_PEOPLE_STORE, certificate);
        }
        if (c.classicBefore) {
            ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, HANDLER_KEY, nullptr, REG_SZ, L"Quoriel",
                                      sizeof(L"Quoriel")),
                      ERROR_SUCCESS);
        }
        const ReportedBuild build;
        build.Set(c.build);
        PowerShellStandIn powerShell(c.powerShellExit);
        std::string output;
        ASSERT_EQ(RunToEnd(L"\"" + setup + L"\" /quiet", &output), 0) << output;

        const std::optional<std::wstring> command = powerShell.CommandLine();
        EXPECT_EQ(command.has_value(), c.asksPowerShell);
        if (command) {
            EXPECT_EQ(*command, addCommand);
        }
        const bool registered = c.outcome == Outcome::PACKAGED;
        const std::wstring lines = ConsoleLines(output);
        const std::wstring menuLine = registered             ? PACKAGED_LINE
                                      : c.failure == nullptr ? L""
                                                             : std::wstring(FALL_BACK_LINE_START) +
                                                                   c.failure + FALL_BACK_LINE_END;
        EXPECT_EQ(lines.find(L"Windows 11's own menu: ") != std::wstring::npos, !menuLine.empty());
        EXPECT_NE(lines.find(menuLine), std::wstring::npos) << output;
        const wchar_t* place = registered ? AT_THE_TOP : c.failure ? SHOW_MORE : CLASSIC;
        EXPECT_NE(lines.find(INSTALLED_HEADLINE + place), std::wstring::npos) << output;
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, SERVER_KEY));
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, HANDLER_KEY)) << "for accounts without it";
        const bool windows11 = std::wstring(c.build) != L"19045";
        EXPECT_EQ(RecordValue(PACKAGE_VALUE), windows11 ? PACKAGE_NAME : L"(none)")
            << "any account may register the kept package: Uninstall removes it for all";
        EXPECT_EQ(TryReadFileBytes(KEPT_PACKAGE),
                  windows11 ? TryReadFileBytes(package) : std::nullopt);
        // A test build says so before its throwaway certificate is trusted.
        const size_t told = lines.find(L"This is a test build: ");
        EXPECT_EQ(told != std::wstring::npos, windows11 && QUORIEL_TEST_BUILD);
        if (told != std::wstring::npos && !menuLine.empty()) {
            EXPECT_LT(told, lines.find(menuLine));
        }
        EXPECT_EQ(RecordValue(TRUSTED_CERTIFICATE_VALUE),
                  registered && !c.trustedBefore ? thumbprint : L"(none)")
            << "only a certificate the installer added is its to remove";
        EXPECT_EQ(MachineStoreHolds(TRUSTED_PEOPLE_STORE, thumbprint), c.trustedAfter);
        EXPECT_FALSE(MachineStoreHolds(ROOT, thumbprint)) << "never the Root store";
    }
    Clean(thumbprint);
}

// Another account's first sign-in on Windows 11, as Active Setup runs its step: its settings,
// then its own registration of the kept package (Wine cannot say it has it: it never has).
TEST(Windows11Setup, EachAccountRegistersTheKeptPackageAtItsFirstSignIn) {
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    scratch.Write(PACKAGE_FILE, {'P', 'K'});
    scratch.Write(SETTINGS_FILE, ReadFileBytes(FromLinuxPath(QUORIEL_SETTINGS)));
    scratch.Write(CERTIFICATE_FILE, TestCertificate());
    const ReportedBuild build;
    build.Set(L"22631");
    CleanInstallation();
    {
        PowerShellStandIn powerShell(0);
        ASSERT_EQ(RunToEnd(Quoted(setup) + L" /quiet"), 0);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    wchar_t step[MAX_PATH * 2] = {};
    DWORD size = sizeof(step);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, L"StubPath", RRF_RT_REG_SZ,
                           nullptr, step, &size),
              ERROR_SUCCESS);
    PowerShellStandIn powerShell(0);
    EXPECT_EQ(RunToEnd(step), 0);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, SETTINGS_KEY));
    EXPECT_EQ(powerShell.CommandLine(),
              std::wstring(POWERSHELL_PREFIX) + L"Add-AppxPackage -Path '" + KEPT_PACKAGE +
                  L"' -ExternalLocation '" + MODULE_FOLDER + L"'" + POWERSHELL_SUFFIX);
    Clean(Thumbprint(TestCertificate()));
}

// An upgrade signed by the publisher's renewed certificate: the earlier certificate, which the
// earlier installation added, goes with the package it signed; the record names the new one.
TEST(Windows11Setup, ARenewedCertificateReplacesTheOneAnEarlierInstallationAdded) {
    const std::vector<uint8_t> earlier = TestCertificate();
    const std::vector<uint8_t> renewed =
        ReadFileBytes(FromLinuxPath(QUORIEL_TEST_DATA "/install/renewed_publisher.cer"));
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    scratch.Write(PACKAGE_FILE, {'P', 'K'});
    scratch.Write(SETTINGS_FILE, {'M', 'Z'});
    const ReportedBuild build;
    build.Set(L"22631");
    CleanInstallation();
    for (const std::vector<uint8_t>* certificate : {&earlier, &renewed}) {
        scratch.Write(CERTIFICATE_FILE, *certificate);
        PowerShellStandIn powerShell(0);
        ASSERT_EQ(RunToEnd(Quoted(setup) + L" /quiet"), 0);
    }
    EXPECT_EQ(RecordValue(TRUSTED_CERTIFICATE_VALUE), Thumbprint(renewed));
    EXPECT_TRUE(MachineStoreHolds(TRUSTED_PEOPLE_STORE, Thumbprint(renewed)));
    EXPECT_FALSE(MachineStoreHolds(TRUSTED_PEOPLE_STORE, Thumbprint(earlier)));
    Clean(Thumbprint(renewed));
    Clean(Thumbprint(earlier));
}

}  // namespace
