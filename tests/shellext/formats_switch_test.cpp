// The per-user switch for the photo formats beyond JPEG and TIFF, through the module as
// Explorer drives it: which content types get the item for which "Formats" value.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/host/message_box_recorder.h"
#include "tests/host/test_data_object.h"
#include "tests/position/box_builder.h"
#include "tests/position/chunk_builder.h"
#include "tests/support/child_process.h"
#include "tests/support/handler_driver.h"
#include "tests/support/launch_record.h"
#include "tests/support/quoriel_module.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/scratch_file.h"
#include "tests/support/settings_fixture.h"
#include "tests/support/test_prefix.h"
#include "tests/support/test_window.h"

namespace {

constexpr UINT ID_FIRST = 100;
constexpr UINT ID_LAST = 200;
constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
constexpr HRESULT NO_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

// The test's own extensions, one for each content type the switch can name, and JPEG's.
const struct {
    const wchar_t* extension;
    const wchar_t* contentType;
} TYPES[] = {
    {L".qfheic", L"image/heic"}, {L".qfheif", L"image/heif"}, {L".qfavif", L"image/avif"},
    {L".qfwebp", L"image/webp"}, {L".qfpng", L"image/png"},   {L".qfjpg", L"image/jpeg"},
};

HRESULT MenuFor(const QuorielModule& module, const std::wstring& extension) {
    TestDataObject data({L"D:\\photo" + extension});
    Handler handler(module);
    EXPECT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
    HostMenu host;
    return handler.menu->QueryContextMenu(host.menu, 0, ID_FIRST, ID_LAST, CMF_NORMAL);
}

std::vector<uint8_t> Repeated(const std::wstring& text, size_t times) {
    std::wstring value;
    for (size_t i = 0; i < times; ++i) {
        value += text;
    }
    return StringData(value + L"image/heic");
}

TEST(FormatsSwitch, ItemForTheTypesTheValueNames) {
    std::vector<std::unique_ptr<ScratchKey>> extensions;
    for (const auto& type : TYPES) {
        extensions.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, type.extension));
        extensions.back()->SetString(L"Content Type", type.contentType);
    }
    const auto Sz = [](const std::wstring& text) { return StringData(text); };
    // Which of TYPES get the item, in their order; JPEG always does.
    const struct {
        const char* what;
        bool present;
        DWORD type;
        std::vector<uint8_t> data;
        const char* offered;
    } cases[] = {
        {"absent", false, REG_SZ, {}, "-----J"},
        {"empty", true, REG_SZ, Sz(L""), "-----J"},
        {"two types", true, REG_SZ, Sz(L"image/heic;image/webp"), "H--W-J"},
        {"spaces and capitals", true, REG_SZ, Sz(L"  IMAGE/AVIF ; Image/Png  "), "--A-PJ"},
        {"every type", true, REG_SZ, Sz(L"*"), "HFAWPJ"},
        {"the installer's list", true, REG_SZ,
         Sz(L"image/heic; image/heif; image/avif; image/webp; image/png"), "HFAWPJ"},
        {"every type among others", true, REG_SZ, Sz(L"video/x; * ;"), "HFAWPJ"},
        {"unknown entries ignored", true, REG_SZ, Sz(L"image/x-foo;;image/heif;image/heic2"),
         "-F---J"},
        {"near misses", true, REG_SZ, Sz(L"image/hei;image/heicc;image/ png;**"), "-----J"},
        {"another type", true, REG_EXPAND_SZ, Sz(L"*"), "-----J"},
        {"binary", true, REG_BINARY, Sz(L"*"), "-----J"},
        {"odd size", true, REG_SZ, {'*', 0, 0}, "-----J"},
        // Filling the whole room, so that the registry cannot end it with a NUL of its own.
        {"no terminator", true, REG_SZ, CharacterData(L"image/heic;" + std::wstring(501, L' ')),
         "-----J"},
        {"very long", true, REG_SZ, Repeated(L"image/none; ", 100), "-----J"},
        {"long enough", true, REG_SZ, Repeated(L"x;", 200), "H----J"},
    };
    QuorielModule module;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
        if (c.present) {
            settings.SetRaw(SETTING_FORMATS, c.type, c.data);
        }
        for (size_t i = 0; i < ARRAYSIZE(TYPES); ++i) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(TYPES[i].contentType)));
            EXPECT_EQ(MenuFor(module, TYPES[i].extension),
                      c.offered[i] == '-' ? NO_ITEM : ONE_ITEM);
        }
    }
}

// A HEIC file whose Exif item, the primary item's description, lies in mdat behind meta.
Bytes BuiltHeic(const Bytes& tiff) {
    const Bytes ftyp = Ftyp("heic");
    const Bytes item = ExifItemData(tiff);
    const auto meta = [&](uint64_t offset) {
        return FullBox(
            "meta", 0, 0,
            Concat({PictHandler(), Pitm(0, 1), Iinf(0, {Infe(2, 1, "hvc1"), Infe(2, 2, "Exif")}),
                    Iref(0, {{"cdsc", 2, {1}}}),
                    Iloc({0, 4, 4, 4, 0}, {{2, 0, 0, {{offset, item.size()}}}})}));
    };
    const uint64_t itemOffset = ftyp.size() + meta(0).size() + 8;
    return Concat({ftyp, meta(itemOffset), Box("mdat", item)});
}

// The same Exif block in each container launches the same position as in a JPEG file, once
// the switch names the container's type; real files from phones and tools launch theirs.
TEST(FormatsSwitch, SwitchedOnPhotosLaunchLikeJpegs) {
    std::vector<std::unique_ptr<ScratchKey>> extensions;
    for (const auto& type : TYPES) {
        extensions.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, type.extension));
        extensions.back()->SetString(L"Content Type", type.contentType);
    }
    SettingsFixture settings;
    settings.Write(std::wstring(RECORDER_PATH) + L" @AH@Ad @OH@Od", L"N", L"S", L"E", L"W");
    settings.Write({{SETTING_FORMATS, REG_SZ, StringData(L"*")}});
    const Bytes tiff = BuildTiff(
        PositionLayout(ByteOrder::MOTOROLA, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
    const std::wstring SAME = L"N35.658666 E139.745416";
    const std::string data = QUORIEL_TEST_DATA;
    ScratchFolder folder;
    const struct {
        std::wstring path;
        std::wstring launched;
    } cases[] = {
        {folder.Write(L"a.qfjpg", Jpeg({JfifApp0(), ExifApp1(tiff)})), SAME},
        {folder.Write(L"a.qfheic", BuiltHeic(tiff)), SAME},
        {folder.Write(L"a.qfwebp", Webp({Vp8lChunk(), RiffChunk("EXIF", tiff)})), SAME},
        {folder.Write(L"b.qfwebp",
                      Webp({Vp8lChunk(), RiffChunk("EXIF", Concat({ExifIdentifier(), tiff}))})),
         SAME},
        {folder.Write(L"a.qfpng", Png({PngIhdr(), PngIdat(64), PngChunk("eXIf", tiff), PngIend()})),
         SAME},
        {FromLinuxPath(data + "/corpus/IMG_5195.HEIC"), L"N39.051344 W94.288772"},
        {FromLinuxPath(data + "/formats/gps_exiftool.heic"), L"N35.658666 E139.745416"},
        {FromLinuxPath(data + "/formats/gps_exiftool.avif"), L"S22.908333 W43.172666"},
        {FromLinuxPath(data + "/formats/gps_exiftool_lossy.webp"), L"S35.658632 W139.74541"},
        {FromLinuxPath(data + "/formats/gps_exiftool.png"), L"S35.658632 W139.74541"},
    };
    extensions.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, L".heic"));
    extensions.back()->SetString(L"Content Type", L"image/heic");
    extensions.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, L".avif"));
    extensions.back()->SetString(L"Content Type", L"image/avif");
    extensions.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, L".webp"));
    extensions.back()->SetString(L"Content Type", L"image/webp");
    QuorielModule module;
    TestWindow owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        TestDataObject selection({c.path});
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
        HostMenu host;
        ASSERT_EQ(handler.menu->QueryContextMenu(host.menu, 0, ID_FIRST, ID_LAST, CMF_NORMAL),
                  ONE_ITEM);
        MessageBoxRecorder boxes;
        LaunchRecord record;
        EXPECT_EQ(handler.Invoke(owner.Get()), S_OK);
        const auto commandLine = record.Wait();
        ASSERT_TRUE(commandLine.has_value());
        EXPECT_EQ(LaunchRecord::Arguments(*commandLine), c.launched);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

}  // namespace
