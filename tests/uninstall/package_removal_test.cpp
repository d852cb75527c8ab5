// Uninstall after a Windows 11 installation: the package removed for every user through
// PowerShell (the launch recorder stands in for it: Wine has none) and the certificate taken out
// of the machine's TrustedPeople store, as the installer's record names them. Without a record
// Uninstall starts no PowerShell at all.
#include <gtest/gtest.h>

#include <optional>

#include "common/package_identity.h"
#include "common/thumbprint.h"
#include "tests/support/certificate_store.h"
#include "tests/support/child_process.h"
#include "tests/support/powershell_stand_in.h"
#include "tests/support/scratch_file.h"
#include "tests/uninstall/uninstall_fixture.h"

namespace {

constexpr const wchar_t* REMOVE_COMMAND =
    L"Get-AppxPackage -AllUsers -Name 'Vantorel.Quoriel' | Remove-AppxPackage -AllUsers";
// The record's thumbprint: the test certificate's, or one that is no thumbprint.
constexpr const wchar_t* TEST_THUMBPRINT = L"(test certificate)";
constexpr const wchar_t* MALFORMED_THUMBPRINT = L"A7E2684C";

void SetRecord(const wchar_t* name, const std::wstring& text) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, name, REG_SZ, text.c_str(),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

struct Case {
    const char* name;
    bool packageRecorded;
    const wchar_t* thumbprintRecorded;  // nullptr: none
    bool trustedBefore;
    std::optional<int> powerShellExit;  // nothing: no PowerShell at all
    int answer;
    bool asksPowerShell;
    std::vector<Box> boxes;
    bool trustedAfter;
};

TEST(PackageRemoval, RemovesWhatTheRecordNamesAndNothingWithoutIt) {
    const std::vector<uint8_t> certificate =
        ReadFileBytes(FromLinuxPath(QUORIEL_TEST_DATA "/install/test_publisher.cer"));
    const std::wstring thumbprint = Thumbprint(certificate);
    const Case cases[] = {
        {"package and certificate",
         true,
         TEST_THUMBPRINT,
         true,
         0,
         IDOK,
         true,
         {Box::CONFIRM, Box::DONE},
         false},
        {"removal command fails: the certificate still goes",
         true,
         TEST_THUMBPRINT,
         true,
         1,
         IDOK,
         true,
         {Box::CONFIRM, Box::REGISTRY_LEFT},
         false},
        {"no PowerShell",
         true,
         nullptr,
         false,
         std::nullopt,
         IDOK,
         false,
         {Box::CONFIRM, Box::REGISTRY_LEFT},
         false},
        {"certificate already gone",
         false,
         TEST_THUMBPRINT,
         false,
         0,
         IDOK,
         false,
         {Box::CONFIRM, Box::DONE},
         false},
        {"malformed thumbprint",
         false,
         MALFORMED_THUMBPRINT,
         true,
         0,
         IDOK,
         false,
         {Box::CONFIRM, Box::REGISTRY_LEFT},
         true},
        {"cancelled", true, TEST_THUMBPRINT, true, 0, IDCANCEL, false, {Box::CONFIRM}, true},
        {"no record: a certificate the installer did not add stays",
         false,
         nullptr,
         true,
         0,
         IDOK,
         false,
         {Box::CONFIRM, Box::DONE},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CleanSlate slate;
        RemoveFromMachineStore(TRUSTED_PEOPLE_STORE, thumbprint);
        CreateMachineKeys();
        if (c.packageRecorded) {
            SetRecord(PACKAGE_VALUE, PACKAGE_NAME);
        }
        if (c.thumbprintRecorded != nullptr) {
            SetRecord(TRUSTED_CERTIFICATE_VALUE,
                      c.thumbprintRecorded == TEST_THUMBPRINT ? thumbprint : c.thumbprintRecorded);
        }
        if (c.trustedBefore) {
            AddToMachineStore(TRUSTED_PEOPLE_STORE, certificate);
        }
        PowerShellStandIn powerShell(c.powerShellExit);
        ExpectBoxes(RunUninstall({c.answer}), c.boxes);

        const std::optional<std::wstring> command = powerShell.CommandLine();
        EXPECT_EQ(command.has_value(), c.asksPowerShell);
        if (command) {
            EXPECT_EQ(*command,
                      std::wstring(POWERSHELL_PREFIX) + REMOVE_COMMAND + POWERSHELL_SUFFIX);
        }
        EXPECT_EQ(MachineStoreHolds(TRUSTED_PEOPLE_STORE, thumbprint), c.trustedAfter);
        EXPECT_EQ(MachineKeysLeft(), c.answer == IDCANCEL);
    }
    RemoveFromMachineStore(TRUSTED_PEOPLE_STORE, thumbprint);
}

}  // namespace
