// Installing again over an installation whose module Explorer holds loaded, and whose settings
// program is open: the files in use are moved aside and deleted at the next restart, the new
// ones take their names, and the exit code says a restart finishes the job. A later run removes
// what was moved aside once nobody holds it. An older version never replaces a newer one unless
// forced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/owners.h"
#include "common/package_identity.h"
#include "tests/support/child_process.h"
#include "tests/support/pending_renames.h"
#include "tests/support/reported_build.h"
#include "tests/support/scratch_file.h"
#include "tests/support/setup_run.h"
#include "quoriel_version.h"

namespace {

constexpr const wchar_t* HELD_EVENT = L"QuorielUpgradeTestHeld";
constexpr const wchar_t* MODULE_ASIDE = L"C:\\windows\\system32\\ShellExt\\Quoriel.dll.1.old";
constexpr const wchar_t* SETTINGS_ASIDE =
    L"C:\\windows\\system32\\ShellExt\\QuorielSettings.exe.1.old";
constexpr const wchar_t* IN_USE =
    L": done; the old file is in use and is deleted when Windows restarts\n";
// A file with a version resource newer than any of ours: Wine's own.
constexpr const wchar_t* NEWER_MODULE = L"C:\\windows\\system32\\kernel32.dll";

std::wstring ModuleIn(const ScratchFolder& scratch) {
    return scratch.Path() + L"\\" + MODULE_FILE;
}

bool Exists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Another process with the installed module and settings program loaded, as Explorer and an
// open settings window hold them.
class Holder {
  public:
    Holder() {
        const UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, HELD_EVENT));
        std::wstring line = Quoted(FromLinuxPath(QUORIEL_HOLDER)) + L" " + HELD_EVENT + L" " +
                            Quoted(MODULE_PATH) + L" " + Quoted(SETTINGS_PROGRAM_PATH);
        STARTUPINFOW startup = {sizeof(startup)};
        PROCESS_INFORMATION started = {};
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &started)) {
            process_.Reset(started.hProcess);
            CloseHandle(started.hThread);
            holding_ = WaitForSingleObject(held.Get(), 30000) == WAIT_OBJECT_0;
        }
    }
    ~Holder() { Release(); }
    bool Holding() const { return holding_; }
    void Release() {
        if (process_) {
            TerminateProcess(process_.Get(), 0);
            WaitForSingleObject(process_.Get(), 10000);
            process_.Reset();
        }
    }

  private:
    UniqueHandle process_;
    bool holding_ = false;
};

std::vector<uint8_t> WithMark(std::vector<uint8_t> bytes, const char* mark) {
    bytes.insert(bytes.end(), mark, mark + strlen(mark));  // after the image: loads the same
    return bytes;
}

int RunSetup(const std::wstring& setup, const wchar_t* options, std::wstring* lines) {
    std::string output;
    const int code = RunToEnd(Quoted(setup) + L" /quiet" + options, &output);
    *lines = ConsoleLines(output);
    return code;
}

TEST(Upgrade, ReplacesFilesInUseAndRemovesThemOnceFree) {
    const ReportedBuild build;
    build.Set(L"19045");
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    const std::vector<uint8_t> module = ReadFileBytes(ModuleIn(scratch));
    ASSERT_TRUE(CopyFileW(FromLinuxPath(QUORIEL_SETTINGS).c_str(),
                          (scratch.Path() + L"\\" + SETTINGS_FILE).c_str(), FALSE));
    CleanInstallation();
    DeleteFileW(MODULE_ASIDE);
    DeleteFileW(SETTINGS_ASIDE);
    std::wstring lines;
    ASSERT_EQ(RunSetup(setup, L"", &lines), 0) << lines;

    Holder holder;
    ASSERT_TRUE(holder.Holding());
    ASSERT_FALSE(NobodyHoldsFile(MODULE_PATH));
    const std::vector<uint8_t> newer = WithMark(module, "upgraded");
    scratch.Write(MODULE_FILE, newer);
    const int moduleDeletions = DeletionsOf(MODULE_ASIDE);
    EXPECT_EQ(RunSetup(setup, L"", &lines), 3010) << lines;
    EXPECT_NE(
        lines.find(L"Copy Quoriel.dll to C:\\windows\\system32\\ShellExt" + std::wstring(IN_USE)),
        std::wstring::npos)
        << lines;
    EXPECT_NE(lines.find(L"Copy the settings program to C:\\windows\\system32\\ShellExt" +
                         std::wstring(IN_USE)),
              std::wstring::npos);
    EXPECT_NE(lines.find(L"until Windows restarts"), std::wstring::npos);
    EXPECT_EQ(TryReadFileBytes(MODULE_PATH), newer) << "new menus load the new module";
    EXPECT_EQ(TryReadFileBytes(MODULE_ASIDE), module) << "the holder's image, moved aside";
    EXPECT_EQ(DeletionsOf(MODULE_ASIDE), moduleDeletions + 1);
    EXPECT_GE(DeletionsOf(SETTINGS_ASIDE), 1);
    {
        UniqueModule loaded(LoadLibraryW(MODULE_PATH));
        EXPECT_NE(GetProcAddress(loaded.Get(), "DllGetClassObject"), nullptr);
    }

    holder.Release();
    EXPECT_EQ(RunSetup(setup, L"", &lines), 0) << lines;
    EXPECT_FALSE(Exists(MODULE_ASIDE)) << "nothing piles up";
    EXPECT_FALSE(Exists(SETTINGS_ASIDE));
    CleanInstallation();
}

TEST(Upgrade, RefusesToReplaceANewerVersionUnlessForced) {
    ScratchFolder scratch;
    const std::wstring setup = CopySetupAndModule(scratch);
    ASSERT_TRUE(CopyFileW(FromLinuxPath(QUORIEL_SETTINGS).c_str(),
                          (scratch.Path() + L"\\" + SETTINGS_FILE).c_str(), FALSE));
    CleanInstallation();
    CreateDirectoryW(L"C:\\windows\\system32\\ShellExt", nullptr);
    ASSERT_TRUE(CopyFileW(NEWER_MODULE, MODULE_PATH, FALSE));
    std::wstring lines;
    EXPECT_EQ(RunSetup(setup, L"", &lines), 1603);
    EXPECT_NE(
        lines.find(
            L", a newer version, is installed; nothing was changed. To put this "
            L"version (" QUORIEL_VERSION_TEXT L") over it, run the setup program with /force.\n"),
        std::wstring::npos)
        << lines;
    EXPECT_EQ(TryReadFileBytes(MODULE_PATH), TryReadFileBytes(NEWER_MODULE));
    EXPECT_EQ(RunSetup(setup, L" /force", &lines), 0) << lines;
    EXPECT_EQ(TryReadFileBytes(MODULE_PATH), TryReadFileBytes(ModuleIn(scratch)));
    CleanInstallation();
}

}  // namespace
