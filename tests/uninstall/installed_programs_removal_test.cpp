// Uninstall after an installation with the settings program and the setup program's copy: the
// settings program's Start menu shortcut deleted under either name and each program's deletion
// scheduled beside the module's. An older
// installation without them gets exactly the boxes and deletions it always got.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/owners.h"
#include "tests/support/shortcut_file.h"
#include "tests/uninstall/uninstall_fixture.h"

namespace {

constexpr const wchar_t* SHELL_EXT_FOLDER = L"C:\\windows\\system32\\ShellExt";
constexpr const wchar_t* ENGLISH = L"Quoriel Settings.lnk";
constexpr const wchar_t* JAPANESE = L"Quoriel の設定.lnk";
constexpr const wchar_t* KEPT_PACKAGE_PATH = L"C:\\windows\\system32\\ShellExt\\Quoriel.msix";

std::wstring InPrograms(const wchar_t* name) {
    return CommonProgramsFolder() + L"\\" + name;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::wstring& path) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << testing::PrintToString(path);
}

void RemoveAll() {
    DeleteFileW(SETTINGS_PROGRAM_PATH);
    DeleteFileW(SETUP_PROGRAM_PATH);
    DeleteFileW(KEPT_PACKAGE_PATH);
    for (const wchar_t* name : {ENGLISH, JAPANESE}) {
        DeleteFileW(InPrograms(name).c_str());
        RemoveDirectoryW(InPrograms(name).c_str());
    }
}

struct Case {
    const char* name;
    bool program;
    bool copies;  // the setup program's copy and the kept Windows 11 package
    std::vector<const wchar_t*> shortcuts;
    const wchar_t* undeletable;  // a folder where a shortcut would be: DeleteFileW refuses it
    std::vector<Box> boxes;
};

TEST(InstalledProgramsRemoval, ShortcutsDeletedAndProgramsScheduledOnlyWhenThere) {
    CreateDirectoryW(SHELL_EXT_FOLDER, nullptr);
    const Case cases[] = {
        {"an older installation without them",
         false,
         false,
         {},
         nullptr,
         {Box::CONFIRM, Box::DONE}},
        {"programs and shortcut", true, true, {ENGLISH}, nullptr, {Box::CONFIRM, Box::DONE}},
        {"a shortcut under each name",
         true,
         false,
         {ENGLISH, JAPANESE},
         nullptr,
         {Box::CONFIRM, Box::DONE}},
        {"a shortcut without its program",
         false,
         true,
         {JAPANESE},
         nullptr,
         {Box::CONFIRM, Box::DONE}},
        {"a shortcut that cannot be deleted",
         true,
         true,
         {JAPANESE},
         ENGLISH,
         {Box::CONFIRM, Box::FILES_LEFT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CleanSlate slate;
        RemoveAll();
        CreateMachineKeys();
        if (c.program) {
            Touch(SETTINGS_PROGRAM_PATH);
        }
        if (c.copies) {
            Touch(SETUP_PROGRAM_PATH);
            Touch(KEPT_PACKAGE_PATH);
        }
        for (const wchar_t* name : c.shortcuts) {
            Touch(InPrograms(name));
        }
        if (c.undeletable != nullptr) {
            ASSERT_TRUE(CreateDirectoryW(InPrograms(c.undeletable).c_str(), nullptr));
        }
        const int modules = ModuleDeletions();
        const int programs = DeletionsOf(SETTINGS_PROGRAM_PATH);
        const int setups = DeletionsOf(SETUP_PROGRAM_PATH);
        const int packages = DeletionsOf(KEPT_PACKAGE_PATH);

        ExpectBoxes(RunUninstall({IDOK}), c.boxes);
        EXPECT_FALSE(MachineKeysLeft());
        EXPECT_EQ(ModuleDeletions(), modules + 1);
        EXPECT_EQ(DeletionsOf(SETTINGS_PROGRAM_PATH), programs + (c.program ? 1 : 0));
        EXPECT_EQ(DeletionsOf(SETUP_PROGRAM_PATH), setups + (c.copies ? 1 : 0));
        EXPECT_EQ(DeletionsOf(KEPT_PACKAGE_PATH), packages + (c.copies ? 1 : 0));
        for (const wchar_t* name : c.shortcuts) {
            EXPECT_FALSE(Exists(InPrograms(name))) << testing::PrintToString(std::wstring(name));
        }
    }
    RemoveAll();
}

}  // namespace
