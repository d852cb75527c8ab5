// The command around the readers: which invocations it accepts, opening the file, and what
// the host receives.
#include <gtest/gtest.h>

#include "common/messages.h"
#include "common/owners.h"
#include "position/command/position_command.h"
#include "tests/position/command_harness.h"
#include "tests/support/account_language.h"
#include "tests/host/drop_list.h"

namespace {

Bytes GoodJpeg() {
    return Jpeg({ExifApp1(BuildTiff(
        PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350))))});
}

TEST(PositionCommand, OnlyCommandOffsetZeroOpensTheFile) {
    CommandHarness harness;
    const std::wstring path = harness.Folder().Write(L"held.jpg", GoodJpeg());
    // Held without sharing: had the command tried to open it, it would fail with 0x80070020.
    UniqueFile held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const struct {
        const char* what;
        LPCSTR verb;
    } verbs[] = {
        {"string verb", "open"},
        {"offset 1", MAKEINTRESOURCEA(1)},
        {"offset 0x10000", reinterpret_cast<LPCSTR>(0x10000)},
    };
    for (const auto& v : verbs) {
        SCOPED_TRACE(v.what);
        const CommandRun run = harness.RunFile(path, FileKind::JPEG, v.verb);
        EXPECT_EQ(run.result, E_FAIL);
        EXPECT_TRUE(run.boxes.empty());
    }
}

TEST(PositionCommand, FilesThatCannotBeOpened) {
    CommandHarness harness;
    const std::wstring path = harness.Folder().Write(L"photo.jpg", GoodJpeg());
    {
        SCOPED_TRACE("deleted since the menu was shown");
        ExpectOutcome(harness.RunFile(harness.Folder().Path() + L"\\gone.jpg", FileKind::JPEG),
                      Failure(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)), harness.Owner());
    }
    {
        SCOPED_TRACE("open for writing elsewhere");
        UniqueFile writer(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
        ASSERT_TRUE(writer);
        const CommandRun run = harness.RunFile(path, FileKind::JPEG);
        EXPECT_EQ(run.result, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
        EXPECT_TRUE(run.boxes.empty());
    }
    {
        SCOPED_TRACE("a folder");
        const CommandRun run = harness.RunFile(harness.Folder().Path(), FileKind::JPEG);
        EXPECT_EQ(run.result, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
        EXPECT_TRUE(run.boxes.empty());
    }
}

TEST(PositionCommand, EmptyFilesHaveNoExif) {
    CommandHarness harness;
    for (FileKind kind : {FileKind::JPEG, FileKind::TIFF}) {
        SCOPED_TRACE(kind == FileKind::JPEG ? "JPEG" : "TIFF");
        ExpectOutcome(harness.RunBytes({}, kind), NO_EXIF, harness.Owner());
    }
}

TEST(PositionCommand, SettingsFailurePassesThroughWithoutABox) {
    CommandHarness harness;
    const std::wstring path = harness.Folder().Write(L"photo.jpg", GoodJpeg());
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    ExpectOutcome(harness.RunFile(path, FileKind::JPEG),
                  Failure(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)), harness.Owner());
}

TEST(PositionCommand, NullOwnerGivesAnUnownedBox) {
    CommandHarness harness;
    const std::wstring path = harness.Folder().Write(L"empty.jpg", {});
    UniqueGlobal drop = MakeDropList({path});
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    MessageBoxRecorder boxes;
    CQuorielReader reader;
    EXPECT_EQ(RunPositionCommand(reader, &info, static_cast<HDROP>(drop.Get()), FileKind::JPEG),
              S_FALSE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(IsCommandBox(boxes.Boxes()[0], TEXT_NO_EXIF, MB_ICONWARNING, nullptr));
}

// Each of the command's four boxes in the account's language, with the same icon and owner. The
// cases that replace the recorder's template come last.
TEST(PositionCommand, BoxesInTheAccountsLanguage) {
    const Bytes noGps =
        Jpeg({ExifApp1(BuildTiff({ByteOrder::INTEL, {{TAG_IMAGE_WIDTH, TYPE_SHORT, 1, 64}}, {}}))});
    const struct {
        const char* what;
        Bytes file;
        const wchar_t* object;  // replaces the recorder's template; null keeps it
        const wchar_t* MessageTexts::*text;
        UINT icon;
    } boxes[] = {
        {"no Exif", {}, nullptr, &MessageTexts::noExif, MB_ICONWARNING},
        {"no position", noGps, nullptr, &MessageTexts::noPosition, MB_ICONINFORMATION},
        {"no template", GoodJpeg(), L"  ", &MessageTexts::templateNotSet, MB_ICONWARNING},
        {"launch refused", GoodJpeg(), L"C:\\qrtest\\no-such-program.exe @Ad",
         &MessageTexts::launchFailed, MB_ICONINFORMATION},
    };
    for (const LanguageCase& language : LANGUAGE_CASES) {
        CommandHarness harness;
        SetAccountLanguage(language.value);
        for (const auto& b : boxes) {
            SCOPED_TRACE(std::string(language.name) + ", " + b.what);
            if (b.object != nullptr) {
                RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_TEMPLATE, REG_SZ, b.object,
                                static_cast<DWORD>((wcslen(b.object) + 1) * sizeof(wchar_t)));
            }
            const CommandRun run = harness.RunBytes(b.file, FileKind::JPEG);
            EXPECT_EQ(run.result, S_FALSE);
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_TRUE(IsCommandBox(run.boxes[0], language.texts.*b.text, b.icon, harness.Owner()))
                << "shown: " << testing::PrintToString(run.boxes[0].text);
        }
    }
}

TEST(PositionCommand, MissingInvocationOrDropListFails) {
    CQuorielReader reader;
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_EQ(RunPositionCommand(reader, nullptr, nullptr, FileKind::JPEG), E_FAIL);
    EXPECT_EQ(RunPositionCommand(reader, &info, nullptr, FileKind::JPEG), E_FAIL);
}

TEST(PositionCommand, SameHandlerReadsTheFileAnewEachTime) {
    CommandHarness harness;
    const std::wstring path = harness.Folder().Write(L"photo.jpg", GoodJpeg());
    const GpsPosition expected =
        PositionOf(true, MicroArcseconds(35, 39, 3120), true, MicroArcseconds(139, 44, 4350));
    ExpectOutcome(harness.RunFile(path, FileKind::JPEG), Launch(expected), harness.Owner());
    harness.Folder().Write(L"photo.jpg", {});
    ExpectOutcome(harness.RunFile(path, FileKind::JPEG), NO_EXIF, harness.Owner());
}

}  // namespace
