// Removal through the setup program when the deletion of the installed files cannot be
// scheduled (nobody may write the pending operations): the quiet removal and the module's own
// boxes both end in 1603, never in "removed".
#include <gtest/gtest.h>

#include <string>

#include "common/messages.h"
#include "tests/support/child_process.h"
#include "tests/support/program_window.h"
#include "tests/support/reported_build.h"
#include "tests/support/scratch_file.h"
#include "tests/support/setup_run.h"
#include "tests/uninstall/uninstall_fixture.h"

namespace {

TEST(Removal, FilesThatCannotBeScheduledAreAFailure) {
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    scratch.Write(L"QuorielSettings.exe", {'M', 'Z'});
    const ReportedBuild build;
    build.Set(L"19045");
    for (const bool quiet : {true, false}) {
        SCOPED_TRACE(quiet ? "quiet" : "with the module's boxes");
        CleanInstallation();
        ASSERT_EQ(RunToEnd(Quoted(setup) + L" /quiet"), 0);
        const SessionManagerLocked locked;
        if (quiet) {
            EXPECT_EQ(RunToEnd(Quoted(SETUP_PROGRAM_PATH) + L" /uninstall /quiet", 30000), 1603);
            continue;
        }
        ProgramWindow removal(SETUP_PROGRAM_PATH, {}, L"/uninstall");
        ASSERT_TRUE(removal.Shown());
        // Setup chose English boxes for this account, whose windows are English.
        EXPECT_EQ(removal.Text(MESSAGE_TEXT), TEXT_CONFIRM_UNINSTALL_EN);
        removal.Click(IDOK);
        ASSERT_TRUE(removal.NextDialog());
        EXPECT_EQ(removal.Text(MESSAGE_TEXT), TEXT_FILES_LEFT_EN);
        removal.Click(IDOK);
        EXPECT_EQ(removal.WaitForExit(), 1603u);
    }
    CleanInstallation();
}

}  // namespace
