// The handler driven as Explorer drives it, through the module's exports and interfaces: a
// real data object with a real drop list, a real menu, the registry of the test prefix, and
// the command through to the launch recorder.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/position/exif_builder.h"
#include "tests/support/command_driver.h"
#include "tests/support/launch_record.h"
#include "tests/support/handler_driver.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/quoriel_module.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/scratch_file.h"
#include "tests/support/settings_fixture.h"
#include "tests/host/test_data_object.h"
#include "tests/support/test_prefix.h"
#include "tests/support/test_window.h"

namespace {

constexpr UINT ID_FIRST = 100;
constexpr UINT ID_LAST = 200;
constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
constexpr HRESULT NO_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
const std::wstring HELP_TEXT = L"Exif 情報内の GPS 位置情報を取得します。";
const std::string HELP_TEXT_932 =
    "\x45\x78\x69\x66\x20\x8F\xEE\x95\xF1\x93\xE0\x82\xCC\x20\x47\x50\x53\x20\x88\xCA"
    "\x92\x75\x8F\xEE\x95\xF1\x82\xF0\x8E\xE6\x93\xBE\x82\xB5\x82\xDC\x82\xB7\x81\x42";

// File-name extensions of the test's own in HKEY_CLASSES_ROOT, with a content type.
class Extensions {
  public:
    void Add(const std::wstring& extension, const std::wstring& contentType) {
        keys_.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, extension));
        keys_.back()->SetString(L"Content Type", contentType);
    }
    void AddRaw(const std::wstring& extension, DWORD type, const std::vector<uint8_t>& data) {
        keys_.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, extension));
        keys_.back()->SetRaw(L"Content Type", type, data);
    }
    void AddWithoutContentType(const std::wstring& extension) {
        keys_.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, extension));
    }

  private:
    std::vector<std::unique_ptr<ScratchKey>> keys_;
};

TEST(ContextMenu, ItemOnlyForOneRegisteredImage) {
    Extensions extensions;
    extensions.Add(L".qrtif", L"IMAGE/TIFF");
    extensions.Add(L".qrpng", L"image/png");
    extensions.Add(L".qrlong", L"image/pjpeg");
    extensions.Add(L".qrexact", L"image/jpeg");
    extensions.AddRaw(L".qrbin", REG_BINARY, {'i', 0, 'm', 0, 'a', 0, 'g', 0, 'e', 0,
                                              '/', 0, 't', 0, 'i', 0, 'f', 0, 'f', 0});
    extensions.AddRaw(L".qrodd", REG_SZ, {'i', 0, 'm', 0, 'a'});
    extensions.AddWithoutContentType(L".qrnotype");
    // A name longer than the walk's buffer, sorted before the test's own: passed over.
    extensions.AddWithoutContentType(L"." + std::wstring(255, L'a'));
    const struct {
        const char* what;
        std::vector<std::wstring> files;
        UINT flags;
        HRESULT result;
    } cases[] = {
        {"JPEG, extension in another case", {L"D:\\photo.JPG"}, CMF_NORMAL, ONE_ITEM},
        {"TIFF by a content type in capitals", {L"D:\\scan.qrtif"}, CMF_NORMAL, ONE_ITEM},
        {"content type of exactly ten characters", {L"D:\\a.qrexact"}, CMF_EXPLORE, ONE_ITEM},
        {"content type of binary type, no NUL", {L"D:\\a.qrbin"}, CMF_NORMAL, ONE_ITEM},
        {"default-only menu", {L"D:\\photo.jpg"}, CMF_DEFAULTONLY, NO_ITEM},
        {"two files", {L"D:\\a.jpg", L"D:\\b.jpg"}, CMF_NORMAL, NO_ITEM},
        {"no file", {}, CMF_NORMAL, NO_ITEM},
        {"no dot in the file name", {L"D:\\dir.x\\photo"}, CMF_NORMAL, NO_ITEM},
        {"no dot at all", {L"D:\\photo"}, CMF_NORMAL, NO_ITEM},
        {"unregistered extension", {L"D:\\photo.qrnothing"}, CMF_NORMAL, NO_ITEM},
        {"PNG", {L"D:\\picture.qrpng"}, CMF_NORMAL, NO_ITEM},
        {"content type too long",
         {L"D:\\a.qrlong"},
         CMF_NORMAL,
         HRESULT_FROM_WIN32(ERROR_MORE_DATA)},
        {"content type of an odd length", {L"D:\\a.qrodd"}, CMF_NORMAL, NO_ITEM},
        {"no content type",
         {L"D:\\a.qrnotype"},
         CMF_NORMAL,
         HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
    };
    QuorielModule module;
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDataObject data(c.files);
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
        HostMenu host;
        EXPECT_EQ(handler.menu->QueryContextMenu(host.menu, 1, ID_FIRST, ID_LAST, c.flags),
                  c.result);
        // Windows 11's menu offers the command exactly where the classic menu offers the item.
        if (c.flags != CMF_DEFAULTONLY) {
            EXPECT_EQ(StateForFiles(module, folder.Path(), c.files),
                      c.result == ONE_ITEM ? ECS_ENABLED : ECS_HIDDEN);
        }
        if (c.result != ONE_ITEM) {
            EXPECT_EQ(host.Count(), 2);
            continue;
        }
        ASSERT_EQ(host.Count(), 3);
        UINT id = 0;
        EXPECT_EQ(host.TextAt(1, &id), L"Quoriel");
        EXPECT_EQ(id, ID_FIRST);
    }
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST(ContextMenu, ItemInsertedEvenWhenIdentifiersRunOut) {
    QuorielModule module;
    TestDataObject data({L"C:\\photo.jpeg"});
    Handler handler(module);
    ASSERT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
    HostMenu host;
    EXPECT_EQ(handler.menu->QueryContextMenu(host.menu, 0, 50, 10, CMF_NORMAL), ONE_ITEM);
    UINT id = 0;
    EXPECT_EQ(host.TextAt(0, &id), L"Quoriel");
    EXPECT_EQ(id, 50u);
}

TEST(ContextMenu, InitializeResults) {
    QuorielModule module;
    const struct {
        const char* what;
        HRESULT getData;
        DWORD tymed;
        HRESULT result;
    } cases[] = {
        {"drop list", S_OK, TYMED_HGLOBAL, S_OK},
        {"out of memory", E_OUTOFMEMORY, TYMED_HGLOBAL, E_OUTOFMEMORY},
        {"no such format", DV_E_FORMATETC, TYMED_HGLOBAL, E_FAIL},
        {"success code other than S_OK", S_FALSE, TYMED_HGLOBAL, E_FAIL},
        {"another medium", S_OK, TYMED_NULL, E_FAIL},
        {"a stream", S_OK, TYMED_ISTREAM, E_FAIL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDataObject data({L"C:\\photo.jpg"});
        data.FailWith(c.getData);
        data.AnswerWithTymed(c.tymed);
        {
            Handler handler(module);
            EXPECT_EQ(handler.init->Initialize(nullptr, &data, nullptr), c.result);
            EXPECT_EQ(data.GetDataCalls(), 1);
            if (c.result != S_OK) {
                HostMenu host;
                EXPECT_TRUE(FAILED(handler.menu->QueryContextMenu(host.menu, 0, 1, 2, 0)));
            }
        }
        EXPECT_EQ(data.MediaReleased(), data.MediaGiven());
        EXPECT_EQ(data.References(), 1) << "the data object is not kept";
    }
    Handler handler(module);
    EXPECT_EQ(handler.init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
}

TEST(ContextMenu, SecondInitializeReplacesTheDropList) {
    QuorielModule module;
    TestDataObject first({L"C:\\a.jpg", L"C:\\b.jpg"});
    TestDataObject second({L"C:\\c.jpg"});
    {
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &first, nullptr), S_OK);
        ASSERT_EQ(handler.init->Initialize(nullptr, &second, nullptr), S_OK);
        EXPECT_EQ(first.MediaReleased(), 1) << "released before the new one is asked for";
        EXPECT_EQ(second.MediaReleased(), 0);
        HostMenu host;
        EXPECT_EQ(handler.menu->QueryContextMenu(host.menu, 0, 1, 2, CMF_NORMAL), ONE_ITEM);
    }
    EXPECT_EQ(second.MediaReleased(), 1) << "the last release releases the drop list";
}

TEST(ContextMenu, HelpText) {
    QuorielModule module;
    Handler handler(module);
    wchar_t wide[64];
    char ansi[64];
    const auto Wide = [&](UINT_PTR id, UINT type, UINT cchMax) {
        wmemset(wide, L'#', ARRAYSIZE(wide));
        return handler.menu->GetCommandString(id, type, nullptr, reinterpret_cast<CHAR*>(wide),
                                              cchMax);
    };
    const auto Ansi = [&](UINT_PTR id, UINT cchMax) {
        memset(ansi, '#', sizeof(ansi));
        return handler.menu->GetCommandString(id, GCS_HELPTEXTA, nullptr, ansi, cchMax);
    };
    EXPECT_EQ(Wide(0, GCS_HELPTEXTW, ARRAYSIZE(wide)), S_OK);
    EXPECT_EQ(std::wstring(wide), HELP_TEXT);
    EXPECT_EQ(Wide(0, GCS_HELPTEXTW, 10), S_OK);
    EXPECT_EQ(std::wstring(wide), HELP_TEXT.substr(0, 9));
    EXPECT_EQ(Wide(1, GCS_HELPTEXTW, ARRAYSIZE(wide)), S_OK);
    EXPECT_EQ(std::wstring(wide), L"");
    EXPECT_EQ(Ansi(0, sizeof(ansi)), S_OK);
    EXPECT_EQ(std::string(ansi), HELP_TEXT_932);
    EXPECT_EQ(Ansi(0, 6), S_OK);
    EXPECT_EQ(std::string(ansi), "Exif ");
    EXPECT_EQ(Ansi(7, sizeof(ansi)), S_OK);
    EXPECT_EQ(std::string(ansi), "");
    {
        SCOPED_TRACE("an account that asks for English");
        ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
        settings.SetString(SETTING_LANGUAGE, LANGUAGE_ENGLISH);
        const std::string english = "Opens the GPS position stored in the file.";
        EXPECT_EQ(Wide(0, GCS_HELPTEXTW, ARRAYSIZE(wide)), S_OK);
        EXPECT_EQ(std::wstring(wide), std::wstring(english.begin(), english.end()));
        EXPECT_EQ(Ansi(0, sizeof(ansi)), S_OK);
        EXPECT_EQ(std::string(ansi), english);
        EXPECT_EQ(Ansi(7, sizeof(ansi)), S_OK);
        EXPECT_EQ(std::string(ansi), "");
    }
    for (UINT type : {GCS_VERBW, GCS_VERBA, GCS_VALIDATEW, GCS_VALIDATEA}) {
        SCOPED_TRACE(type);
        EXPECT_EQ(Wide(0, type, ARRAYSIZE(wide)), E_NOTIMPL);
        EXPECT_EQ(wide[0], L'#') << "nothing copied";
    }
}

TEST(ContextMenu, InvokeRunsThePositionCommand) {
    SettingsFixture settings;
    settings.Write(std::wstring(RECORDER_PATH) + L" @Ad @Od", L"N", L"S", L"E", L"W");
    ScratchFolder folder;
    const Bytes tiff = BuildTiff(
        PositionLayout(ByteOrder::MOTOROLA, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
    const std::wstring jpeg = folder.Write(L"photo.jpg", Jpeg({JfifApp0(), ExifApp1(tiff)}));
    const std::wstring tif = folder.Write(L"scan.tif", tiff);
    QuorielModule module;
    TestWindow owner;
    for (const std::wstring& path : {jpeg, tif}) {
        SCOPED_TRACE(testing::PrintToString(path));
        TestDataObject data({path});
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
        HostMenu host;
        ASSERT_EQ(handler.menu->QueryContextMenu(host.menu, 0, ID_FIRST, ID_LAST, CMF_NORMAL),
                  ONE_ITEM);
        MessageBoxRecorder boxes;
        for (int round = 0; round < 2; ++round) {
            LaunchRecord record;
            EXPECT_EQ(handler.Invoke(owner.Get()), S_OK);
            const auto commandLine = record.Wait();
            ASSERT_TRUE(commandLine.has_value());
            EXPECT_EQ(LaunchRecord::Arguments(*commandLine), L"35.658666 139.745416");
        }
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.hwnd = owner.Get();
        info.lpVerb = "open";
        EXPECT_EQ(handler.menu->InvokeCommand(&info), E_FAIL);
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_TRUE(NobodyHoldsFile(path));
    }
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST(ContextMenu, CallsOutOfOrderFail) {
    QuorielModule module;
    Handler handler(module);
    HostMenu host;
    EXPECT_EQ(handler.menu->QueryContextMenu(host.menu, 0, 1, 2, CMF_NORMAL), E_UNEXPECTED);
    EXPECT_EQ(handler.Invoke(nullptr), E_FAIL);
    EXPECT_EQ(host.Count(), 2);

    // A menu that offered nothing leaves nothing to invoke.
    TestDataObject data({L"C:\\notes.qrnothing"});
    ASSERT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
    EXPECT_EQ(handler.menu->QueryContextMenu(host.menu, 0, 1, 2, CMF_NORMAL), NO_ITEM);
    EXPECT_EQ(handler.Invoke(nullptr), E_FAIL);
}

}  // namespace
