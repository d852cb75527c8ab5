// Registry data that other programs may have written, for the launch settings and for an
// extension's "Content Type": every registry type, no bytes, odd byte counts, no terminator,
// embedded NULs and values of a megabyte. Each gets the status the design gives, never a crash.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/messages.h"
#include "common/registry_names.h"
#include "tests/position/exif_builder.h"
#include "tests/support/handler_driver.h"
#include "tests/support/launch_record.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/scratch_file.h"
#include "tests/host/test_data_object.h"
#include "tests/support/test_prefix.h"
#include "tests/support/test_window.h"

namespace {

constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
constexpr HRESULT NO_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
constexpr HRESULT MORE_DATA = HRESULT_FROM_WIN32(ERROR_MORE_DATA);
constexpr size_t MEGABYTE = 1 << 20;
constexpr size_t LONG_ARGUMENTS = 1000;
const DWORD EVERY_TYPE[] = {
    REG_NONE, REG_SZ,       REG_EXPAND_SZ,     REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
    REG_LINK, REG_MULTI_SZ, REG_RESOURCE_LIST, REG_QWORD};

std::vector<uint8_t> Characters(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t));
}

std::vector<uint8_t> WithNul(const std::wstring& text) {
    return Characters(std::wstring(text.c_str(), text.size() + 1));
}

// What the user sees after choosing the item.
struct Seen {
    HRESULT result;
    const wchar_t* box;                     // the one box's text, or null for none
    std::optional<std::wstring> arguments;  // what the recorder got, if anything was launched
};

class PhotoWithPosition {
  public:
    PhotoWithPosition() {
        const Bytes tiff = BuildTiff(
            PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 3120), 'E', Dms(139, 44, 4350)));
        path_ = folder_.Write(L"photo.jpg", Jpeg({ExifApp1(tiff)}));
    }
    const std::wstring& Path() const { return path_; }

  private:
    ScratchFolder folder_;
    std::wstring path_;
};

void ExpectSeen(const QuorielModule& module, const std::wstring& photo, const Seen& expected) {
    TestWindow owner;
    TestDataObject selection({photo});
    Handler handler(module);
    ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
    HostMenu menu;
    ASSERT_EQ(handler.menu->QueryContextMenu(menu.menu, 0, 1, 2, CMF_NORMAL), ONE_ITEM);
    LaunchRecord record;
    MessageBoxRecorder boxes;
    EXPECT_EQ(handler.Invoke(owner.Get()), expected.result);
    if (expected.box == nullptr) {
        EXPECT_TRUE(boxes.Boxes().empty());
    } else {
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, expected.box);
    }
    if (expected.arguments) {
        const auto launched = record.Wait();
        ASSERT_TRUE(launched.has_value());
        const std::wstring arguments = LaunchRecord::Arguments(*launched);
        if (expected.arguments->size() < LONG_ARGUMENTS) {
            EXPECT_EQ(arguments, *expected.arguments);
        } else {
            // Wine may cut a command line of that size; what arrives is its beginning.
            EXPECT_EQ(arguments.substr(0, LONG_ARGUMENTS),
                      expected.arguments->substr(0, LONG_ARGUMENTS))
                << arguments.size() << " characters arrived";
        }
    }
}

TEST(HostileRegistry, TemplateOfEveryTypeIsTakenAsText) {
    QuorielModule module;
    PhotoWithPosition photo;
    for (DWORD type : EVERY_TYPE) {
        SCOPED_TRACE(type);
        ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
        settings.SetRaw(L"Object", type, WithNul(std::wstring(RECORDER_PATH) + L" @Ad|@AH"));
        for (const wchar_t* name : {L"N", L"S", L"E", L"W"}) {
            settings.SetRaw(name, type, WithNul(name));
        }
        ExpectSeen(module, photo.Path(), {S_OK, nullptr, std::wstring(L"35.658666|N")});
    }
}

TEST(HostileRegistry, MalformedSettingValues) {
    const std::wstring recorder = RECORDER_PATH;
    const struct {
        const char* what;
        const wchar_t* name;
        std::vector<uint8_t> data;
        Seen seen;
    } cases[] = {
        {"template of 0 bytes", L"Object", {}, {S_FALSE, TEXT_TEMPLATE_NOT_SET, std::nullopt}},
        {"template of 3 bytes", L"Object", {'x', 0, 'y'}, {MORE_DATA, nullptr, std::nullopt}},
        {"template without NUL",
         L"Object",
         Characters(recorder + L" @AH"),
         {S_OK, nullptr, L"North"}},
        {"template cut by a NUL",
         L"Object",
         WithNul(recorder + L" @AH" + L'\0' + L"rest"),
         {S_OK, nullptr, L"North"}},
        // The shell starts a program with a command line of half a million characters.
        {"template of a megabyte",
         L"Object",
         WithNul(recorder + L" " + std::wstring(MEGABYTE / 2, L'x')),
         {S_OK, nullptr, std::wstring(MEGABYTE / 2, L'x')}},
        {"N of 0 bytes", L"N", {}, {S_OK, nullptr, L""}},
        {"N of 1 byte", L"N", {'N'}, {MORE_DATA, nullptr, std::nullopt}},
        {"N without NUL", L"N", Characters(L"Nord"), {S_OK, nullptr, L"Nord"}},
        {"N cut by a NUL", L"N", WithNul(std::wstring(L"No\0rd", 5)), {S_OK, nullptr, L"No"}},
        {"N of a megabyte",
         L"N",
         WithNul(std::wstring(MEGABYTE / 2, L'n')),
         {S_OK, nullptr, std::wstring(MEGABYTE / 2, L'n')}},
        {"S of 5 bytes, unused for a northern position",
         L"S",
         {'a', 0, 'b', 0, 'c'},
         {MORE_DATA, nullptr, std::nullopt}},
        {"W of a megabyte, unused",
         L"W",
         WithNul(std::wstring(MEGABYTE / 2, L'w')),
         {S_OK, nullptr, L"North"}},
    };
    QuorielModule module;
    PhotoWithPosition photo;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
        settings.SetString(L"Object", recorder + L" @AH");
        settings.SetString(L"N", L"North");
        settings.SetString(L"S", L"South");
        settings.SetString(L"E", L"East");
        settings.SetString(L"W", L"West");
        settings.SetRaw(c.name, REG_SZ, c.data);
        ExpectSeen(module, photo.Path(), c.seen);
    }
}

// Only a REG_SZ that reads "en" asks for English; any other "Language" value keeps the Japanese
// box, and none fails the command. The empty template gives the box.
TEST(HostileRegistry, LanguageValues) {
    const struct {
        const char* what;
        DWORD type;
        std::vector<uint8_t> data;
        const wchar_t* box;
    } cases[] = {
        {"en", REG_SZ, WithNul(L"en"), TEXT_TEMPLATE_NOT_SET_EN},
        {"EN", REG_SZ, WithNul(L"EN"), TEXT_TEMPLATE_NOT_SET_EN},
        {"en without NUL", REG_SZ, Characters(L"en"), TEXT_TEMPLATE_NOT_SET_EN},
        {"ja", REG_SZ, WithNul(L"ja"), TEXT_TEMPLATE_NOT_SET},
        {"en-US", REG_SZ, WithNul(L"en-US"), TEXT_TEMPLATE_NOT_SET},
        {"enx without NUL", REG_SZ, Characters(L"enx"), TEXT_TEMPLATE_NOT_SET},
        {"en and a megabyte", REG_SZ, WithNul(L"en" + std::wstring(MEGABYTE / 2, L'x')),
         TEXT_TEMPLATE_NOT_SET},
        {"empty", REG_SZ, {}, TEXT_TEMPLATE_NOT_SET},
        {"3 bytes", REG_SZ, {'e', 0, 'n'}, TEXT_TEMPLATE_NOT_SET},
        {"expandable en", REG_EXPAND_SZ, WithNul(L"en"), TEXT_TEMPLATE_NOT_SET},
        {"expandable to en", REG_EXPAND_SZ, WithNul(L"%QUORIEL_TEST_EN%"), TEXT_TEMPLATE_NOT_SET},
        {"multi-string en", REG_MULTI_SZ, WithNul(std::wstring(L"en\0", 3)), TEXT_TEMPLATE_NOT_SET},
        {"binary en", REG_BINARY, Characters(L"en"), TEXT_TEMPLATE_NOT_SET},
        {"number", REG_DWORD, {1, 0, 0, 0}, TEXT_TEMPLATE_NOT_SET},
    };
    SetEnvironmentVariableW(L"QUORIEL_TEST_EN", L"en");
    QuorielModule module;
    PhotoWithPosition photo;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchKey settings(HKEY_CURRENT_USER, SETTINGS_KEY);
        settings.SetString(L"Object", L"");
        settings.SetRaw(SETTING_LANGUAGE, c.type, c.data);
        ExpectSeen(module, photo.Path(), {S_FALSE, c.box, std::nullopt});
    }
}

TEST(HostileRegistry, MalformedContentTypes) {
    const struct {
        const char* what;
        DWORD type;
        std::vector<uint8_t> data;
        HRESULT result;
    } cases[] = {
        {"0 bytes", REG_SZ, {}, NO_ITEM},
        {"3 bytes", REG_SZ, {'i', 0, 'm'}, NO_ITEM},
        {"no NUL", REG_BINARY, Characters(L"image/jpeg"), ONE_ITEM},
        {"a DWORD", REG_DWORD, {1, 2, 3, 4}, NO_ITEM},
        {"image/jpeg and more after a NUL", REG_SZ, WithNul(std::wstring(L"image/jpeg\0x", 12)),
         MORE_DATA},
        {"image/tiff as a multi-string", REG_MULTI_SZ,
         Characters(std::wstring(L"image/tiff\0", 11)), ONE_ITEM},
        {"a megabyte", REG_SZ, WithNul(std::wstring(MEGABYTE / 2, L'i')), MORE_DATA},
    };
    QuorielModule module;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchKey extension(HKEY_CLASSES_ROOT, L".qrhostile");
        extension.SetRaw(L"Content Type", c.type, c.data);
        TestDataObject selection({L"C:\\photo.qrhostile"});
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
        HostMenu menu;
        EXPECT_EQ(handler.menu->QueryContextMenu(menu.menu, 0, 1, 2, CMF_NORMAL), c.result);
        EXPECT_EQ(menu.Count(), c.result == ONE_ITEM ? 3 : 2);
    }
}

TEST(HostMisuse, CallsBeforeInitializeFailOrAnswerHarmlessly) {
    QuorielModule module;
    Handler handler(module);
    HostMenu menu;
    EXPECT_EQ(handler.menu->QueryContextMenu(menu.menu, 0, 1, 2, CMF_NORMAL), E_UNEXPECTED);
    EXPECT_EQ(handler.Invoke(nullptr), E_FAIL);
    EXPECT_EQ(handler.menu->InvokeCommand(nullptr), E_FAIL);
    // The help text needs no selection; without a buffer there is nothing to write to.
    wchar_t help[64] = {};
    EXPECT_EQ(handler.menu->GetCommandString(0, GCS_HELPTEXTW, nullptr,
                                             reinterpret_cast<CHAR*>(help), ARRAYSIZE(help)),
              S_OK);
    EXPECT_EQ(handler.menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, nullptr, 10), E_POINTER);
    EXPECT_EQ(handler.init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(handler.menu->QueryContextMenu(menu.menu, 0, 1, 2, CMF_NORMAL), E_UNEXPECTED);
}

}  // namespace
