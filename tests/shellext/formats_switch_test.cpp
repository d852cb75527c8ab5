// The per-user switch for the photo and video formats beyond JPEG and TIFF, through the module
// as Explorer drives it: which content types get the item for which "Formats" value.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <winioctl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/messages.h"
#include "tests/host/message_box_recorder.h"
#include "tests/host/test_data_object.h"
#include "tests/position/box_builder.h"
#include "tests/position/chunk_builder.h"
#include "tests/position/sparse_builder.h"
#include "tests/support/child_process.h"
#include "tests/support/command_driver.h"
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
// A content type too long for the menu's short read of it.
constexpr HRESULT MORE_DATA = HRESULT_FROM_WIN32(ERROR_MORE_DATA);

struct ExtensionType {
    const wchar_t* extension;
    const wchar_t* contentType;
};
// The test's own extensions, one for each content type the switch can name, JPEG's, two video
// types that no reader takes (one as long as video/quicktime, the longest readable type, one a
// character longer), raws as Windows registers them, and a raw's type Windows does not use.
const ExtensionType TYPES[] = {
    {L".qfheic", L"image/heic"},
    {L".qfheif", L"image/heif"},
    {L".qfavif", L"image/avif"},
    {L".qfwebp", L"image/webp"},
    {L".qfpng", L"image/png"},
    {L".qfjpg", L"image/jpeg"},
    {L".qfmp4", L"video/mp4"},
    {L".qfmov", L"video/quicktime"},
    {L".qf3gp", L"video/3gpp"},
    {L".qfavi", L"video/x-msvideo"},
    {L".qfmkv", L"video/x-matroska"},
    {L".qfdng", L"image/DNG"},
    {L".qfcr2", L"image/CR2"},
    {L".qfrw2", L"image/RW2"},
    {L".qfraw", L"image/x-panasonic-rw2"},
};
// The real files' own extensions, registered as Windows registers them.
const ExtensionType REAL_TYPES[] = {
    {L".heic", L"image/heic"}, {L".avif", L"image/avif"},     {L".webp", L"image/webp"},
    {L".mp4", L"video/mp4"},   {L".mov", L"video/quicktime"}, {L".3gp", L"video/3gpp"},
};

template <size_t N>
std::vector<std::unique_ptr<ScratchKey>> Registered(const ExtensionType (&types)[N]) {
    std::vector<std::unique_ptr<ScratchKey>> keys;
    for (const auto& type : types) {
        keys.emplace_back(new ScratchKey(HKEY_CLASSES_ROOT, type.extension));
        keys.back()->SetString(L"Content Type", type.contentType);
    }
    return keys;
}

// What the classic menu answers for a file of that extension; Windows 11's menu must offer its
// command for the same file exactly when the classic menu offers its item.
HRESULT MenuFor(const QuorielModule& module, const std::wstring& extension) {
    const std::wstring name = L"D:\\photo" + extension;
    TestDataObject data({name});
    Handler handler(module);
    EXPECT_EQ(handler.init->Initialize(nullptr, &data, nullptr), S_OK);
    HostMenu host;
    const HRESULT result =
        handler.menu->QueryContextMenu(host.menu, 0, ID_FIRST, ID_LAST, CMF_NORMAL);
    ScratchFolder folder;
    EXPECT_EQ(StateForFiles(module, folder.Path(), {name}),
              result == ONE_ITEM ? ECS_ENABLED : ECS_HIDDEN)
        << "the command's state for " << testing::PrintToString(extension);
    return result;
}

std::vector<uint8_t> Repeated(const std::wstring& text, size_t times) {
    std::wstring value;
    for (size_t i = 0; i < times; ++i) {
        value += text;
    }
    return StringData(value + L"image/heic");
}

TEST(FormatsSwitch, ItemForTheTypesTheValueNames) {
    const auto extensions = Registered(TYPES);
    const auto Sz = [](const std::wstring& text) { return StringData(text); };
    // Which of TYPES get the item, in their order; JPEG always does. '!': the menu fails with
    // ERROR_MORE_DATA, as it does for a long type unless the value names video/quicktime; then a
    // type longer still gets no item.
    const struct {
        const char* what;
        bool present;
        DWORD type;
        std::vector<uint8_t> data;
        const char* offered;
    } cases[] = {
        {"absent", false, REG_SZ, {}, "-----J-!-!!---!"},
        {"empty", true, REG_SZ, Sz(L""), "-----J-!-!!---!"},
        {"two types", true, REG_SZ, Sz(L"image/heic;image/webp"), "H--W-J-!-!!---!"},
        {"spaces and capitals", true, REG_SZ, Sz(L"  IMAGE/AVIF ; Image/Png  "), "--A-PJ-!-!!---!"},
        {"every type", true, REG_SZ, Sz(L"*"), "HFAWPJMQG--DCR-"},
        {"the installer's list", true, REG_SZ,
         Sz(L"image/heic; image/heif; image/avif; image/webp; image/png"), "HFAWPJ-!-!!---!"},
        {"the videos", true, REG_SZ, Sz(L"video/mp4; video/quicktime; video/3gpp"),
         "-----JMQG------"},
        {"the short videos", true, REG_SZ, Sz(L"video/mp4;video/3gpp"), "-----JM!G!!---!"},
        {"QuickTime alone", true, REG_SZ, Sz(L"Video/QuickTime"), "-----J-Q-------"},
        {"every type among others", true, REG_SZ, Sz(L"video/x; * ;"), "HFAWPJMQG--DCR-"},
        {"unknown entries ignored", true, REG_SZ, Sz(L"image/x-foo;;image/heif;image/heic2"),
         "-F---J-!-!!---!"},
        {"near misses", true, REG_SZ,
         Sz(L"image/hei;image/heicc;image/ png;**;video/quicktim;video/x-matroska"),
         "-----J-!-!!---!"},
        {"another type", true, REG_EXPAND_SZ, Sz(L"*"), "-----J-!-!!---!"},
        {"binary", true, REG_BINARY, Sz(L"*"), "-----J-!-!!---!"},
        {"odd size", true, REG_SZ, {'*', 0, 0}, "-----J-!-!!---!"},
        // Filling the whole room, so that the registry cannot end it with a NUL of its own.
        {"no terminator", true, REG_SZ, CharacterData(L"image/heic;" + std::wstring(501, L' ')),
         "-----J-!-!!---!"},
        {"very long", true, REG_SZ, Repeated(L"image/none; ", 100), "-----J-!-!!---!"},
        {"long enough", true, REG_SZ, Repeated(L"x;", 200), "H----J-!-!!---!"},
        {"raws", true, REG_SZ, Sz(L"image/dng; IMAGE/RW2; image/x-panasonic-rw2"),
         "-----J-!-!!D-R!"},
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
            const char offered = c.offered[i];
            EXPECT_EQ(MenuFor(module, TYPES[i].extension), offered == '-'   ? NO_ITEM
                                                           : offered == '!' ? MORE_DATA
                                                                            : ONE_ITEM);
        }
    }
}

// A raw's extension that Windows registers without a content type, and one it does not register
// at all: the item only where the switch names the raw, by its extension or its content type (or
// "*"), and otherwise the outcomes the menu has always had for them.
TEST(FormatsSwitch, ExtensionEntriesForRawsWithoutContentType) {
    ScratchKey withoutType(HKEY_CLASSES_ROOT, L".cr2");
    constexpr HRESULT NO_TYPE = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    const struct {
        const wchar_t* formats;  // null: absent
        HRESULT cr2;
        HRESULT nef;  // not registered
    } cases[] = {
        {nullptr, NO_TYPE, NO_ITEM},
        {L"image/cr2; IMAGE/NEF", ONE_ITEM, ONE_ITEM},
        {L"image/ARW; .arw; image/CR3; image/x-canon-cr2", NO_TYPE, NO_ITEM},
        {L"cr2; nef; .cr; .nefx; CR2", NO_TYPE, NO_ITEM},
        {L" .CR2 ", ONE_ITEM, NO_ITEM},
        {L".nef", NO_TYPE, ONE_ITEM},
        {L"*", ONE_ITEM, ONE_ITEM},
    };
    QuorielModule module;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.formats ? c.formats : L"(absent)")));
        ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
        if (c.formats != nullptr) {
            settings.SetString(SETTING_FORMATS, c.formats);
        }
        EXPECT_EQ(MenuFor(module, L".cr2"), c.cr2);
        EXPECT_EQ(MenuFor(module, L".nef"), c.nef);
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

// The TIFF data under a raw's own byte-order mark and magic number, four bytes (a literal of
// three ends with the NUL of the fourth).
Bytes WithHeader(Bytes tiff, const char* header) {
    std::copy(header, header + 4, tiff.begin());
    return tiff;
}

// Settings that launch the recorder with both hemispheres and decimal degrees, every type on.
void WriteSwitchedOnSettings(SettingsFixture& settings) {
    settings.Write(std::wstring(RECORDER_PATH) + L" @AH@Ad @OH@Od", L"N", L"S", L"E", L"W");
    settings.Write({{SETTING_FORMATS, REG_SZ, StringData(L"*")}});
}

struct LaunchCase {
    std::wstring path;
    std::wstring launched;  // empty: the file has no position, and the user is told so
};

// Each file through the menu and the command as Explorer drives them.
void ExpectLaunches(const std::vector<LaunchCase>& cases) {
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
        if (c.launched.empty()) {
            EXPECT_EQ(handler.Invoke(owner.Get()), S_FALSE);
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_TRUE(
                IsCommandBox(boxes.Boxes()[0], TEXT_NO_POSITION, MB_ICONINFORMATION, owner.Get()))
                << "shown: " << testing::PrintToString(boxes.Boxes()[0].text);
            continue;
        }
        LaunchRecord record;
        EXPECT_EQ(handler.Invoke(owner.Get()), S_OK);
        const auto commandLine = record.Wait();
        ASSERT_TRUE(commandLine.has_value());
        EXPECT_EQ(LaunchRecord::Arguments(*commandLine), c.launched);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

// The same Exif block in each container launches the same position as in a JPEG file, once
// the switch names the container's type, and as a raw's (the TIFF file itself, under a raw's
// header where its own extension names it); real files from phones and tools launch theirs.
TEST(FormatsSwitch, SwitchedOnPhotosLaunchLikeJpegs) {
    const auto extensions = Registered(TYPES);
    const auto realExtensions = Registered(REAL_TYPES);
    SettingsFixture settings;
    WriteSwitchedOnSettings(settings);
    const Bytes tiff = BuildTiff(
        PositionLayout(ByteOrder::MOTOROLA, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
    const Bytes intelTiff = BuildTiff(
        PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
    const std::wstring SAME = L"N35.658666 E139.745416";
    const std::string data = QUORIEL_TEST_DATA;
    ScratchFolder folder;
    ExpectLaunches({
        {folder.Write(L"a.qfjpg", Jpeg({JfifApp0(), ExifApp1(tiff)})), SAME},
        {folder.Write(L"a.qfheic", BuiltHeic(tiff)), SAME},
        {folder.Write(L"a.qfwebp", Webp({Vp8lChunk(), RiffChunk("EXIF", tiff)})), SAME},
        {folder.Write(L"b.qfwebp",
                      Webp({Vp8lChunk(), RiffChunk("EXIF", Concat({ExifIdentifier(), tiff}))})),
         SAME},
        {folder.Write(L"a.qfpng", Png({PngIhdr(), PngIdat(64), PngChunk("eXIf", tiff), PngIend()})),
         SAME},
        {folder.Write(L"a.qfdng", tiff), SAME},
        {folder.Write(L"a.orf", WithHeader(tiff, "MMOR")), SAME},
        {folder.Write(L"a.rw2", WithHeader(intelTiff, "IIU")), SAME},
        {FromLinuxPath(data + "/corpus/IMG_5195.HEIC"), L"N39.051344 W94.288772"},
        {FromLinuxPath(data + "/formats/gps_exiftool.heic"), L"N35.658666 E139.745416"},
        {FromLinuxPath(data + "/formats/gps_exiftool.avif"), L"S22.908333 W43.172666"},
        {FromLinuxPath(data + "/formats/gps_exiftool_lossy.webp"), L"S35.658632 W139.74541"},
        {FromLinuxPath(data + "/formats/gps_exiftool.png"), L"S35.658632 W139.74541"},
        {FromLinuxPath(data + "/formats/gps_exiftool.dng"), L"N35.658632 E139.74541"},
        {FromLinuxPath(data + "/formats/gps_exiftool.cr3"), L"N35.658632 E139.74541"},
    });
}

// The file's first bytes and its far parts, the run of zeros between them left a hole.
std::wstring WriteSparse(const ScratchFolder& folder, const std::wstring& name,
                         const SparseFile& sparse) {
    const std::wstring path = folder.Write(name, sparse.head);
    const UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    // NTFS writes out the zeros between the parts unless the file is marked sparse; Linux file
    // systems under Wine leave them a hole either way.
    DWORD returned = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    for (const FarPart& part : sparse.parts) {
        LARGE_INTEGER offset{};
        offset.QuadPart = static_cast<LONGLONG>(part.offset);
        DWORD written = 0;
        EXPECT_TRUE(SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN) &&
                    WriteFile(file.Get(), part.bytes.data(), static_cast<DWORD>(part.bytes.size()),
                              &written, nullptr));
    }
    return path;
}

// The same Exif block behind 1 KB, 2.2 GB and 3.5 GB of image data launches the same position;
// the files are sparse and take a few KB of disk.
TEST(FormatsSwitch, SwitchedOnPhotosLaunchBlocksFarIntoTheFile) {
    const auto extensions = Registered(TYPES);
    SettingsFixture settings;
    WriteSwitchedOnSettings(settings);
    const Bytes tiff = BuildTiff(
        PositionLayout(ByteOrder::INTEL, 'S', Dms(33, 51, 2467), 'E', Dms(151, 12, 5503)));
    const std::wstring SAME = L"S33.856852 E151.215286";
    ScratchFolder folder;
    std::vector<LaunchCase> cases;
    for (const uint64_t imageSize : {uint64_t{1000}, uint64_t{2200000000}, uint64_t{3500000000}}) {
        const std::wstring name = L"far" + std::to_wstring(imageSize);
        cases.push_back({WriteSparse(folder, name + L".qfpng", PngBehind(tiff, imageSize)), SAME});
        cases.push_back(
            {WriteSparse(folder, name + L".qfwebp", WebpBehind(tiff, imageSize)), SAME});
        cases.push_back(
            {WriteSparse(folder, name + L".qfheic", HeifBehind(tiff, imageSize)), SAME});
    }
    ExpectLaunches(cases);
}

// Videos from FFmpeg and ExifTool, each location record kind, mdat before and after moov.
TEST(FormatsSwitch, SwitchedOnVideosLaunchTheirLocation) {
    const auto realExtensions = Registered(REAL_TYPES);
    SettingsFixture settings;
    WriteSwitchedOnSettings(settings);
    const std::string formats = std::string(QUORIEL_TEST_DATA) + "/formats/";
    const auto File = [&](const char* name) { return FromLinuxPath(formats + name); };
    ExpectLaunches({
        {File("location_ffmpeg.mov"), L"N35.6586 E139.7454"},
        {File("location_ffmpeg.mp4"), L"N35.658599 E139.745391"},
        {File("location_ffmpeg.3gp"), L"S33.856796 E151.215286"},
        {File("keys_exiftool.mp4"), L"N35.658632 E139.745411"},
        {File("userdata_exiftool.mp4"), L"S35.658632 W139.745411"},
        {File("itemlist_exiftool.mp4"), L"N51.5932 W0.2431"},
        {File("no_location_ffmpeg.mp4"), L""},
    });
}

}  // namespace
