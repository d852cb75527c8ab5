// A new user's first use: in the settings window, Google Maps is chosen and the link for the
// sample position seen, HEIC is ticked and applied, an iPhone photo tried shows its link, which
// the window's button opens, and OK is pressed; then the module offers its item for the photo
// and its command opens the same link.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/owners.h"
#include "settings/settings_ids.h"
#include "tests/host/test_data_object.h"
#include "tests/support/program_window.h"
#include "tests/settings/stored_settings.h"
#include "tests/support/handler_driver.h"
#include "tests/support/launch_record.h"
#include "tests/support/registry_scratch.h"
#include "tests/support/test_prefix.h"
#include "tests/support/test_window.h"

namespace {

constexpr UINT ID_FIRST = 100;
constexpr UINT ID_LAST = 200;
constexpr HRESULT ONE_ITEM = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
constexpr int HEIC_BOX = IDC_FORMAT_BASE;  // image/heic, the first switched format
constexpr const wchar_t* HTTPS_COMMAND = L"https\\shell\\open\\command";

constexpr const wchar_t* SAMPLE_LINK =
    L"https://www.google.com/maps/search/?api=1&query=35.681236,139.767125";
// The photo's position, as an independent Exif reader reports it.
constexpr const wchar_t* PHOTO_LINK =
    L"https://www.google.com/maps/search/?api=1&query=39.051344,-94.288772";

// No browser here: https goes to the launch recorder while the object lives; then the
// prefix's own browser command is put back.
class HttpsToRecorder {
  public:
    HttpsToRecorder() {
        RegCreateKeyExW(HKEY_CLASSES_ROOT, HTTPS_COMMAND, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.Put(), nullptr);
        wchar_t previous[MAX_PATH] = {};
        DWORD size = sizeof(previous);
        had_ = RegQueryValueExW(key_.Get(), nullptr, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
        previous_ = previous;
        Set(std::wstring(RECORDER_PATH) + L" %1");
    }
    ~HttpsToRecorder() {
        if (had_) {
            Set(previous_);
        } else {
            RegDeleteValueW(key_.Get(), nullptr);
        }
    }
    HttpsToRecorder(const HttpsToRecorder&) = delete;
    HttpsToRecorder& operator=(const HttpsToRecorder&) = delete;

  private:
    void Set(const std::wstring& command) {
        EXPECT_EQ(RegSetValueExW(key_.Get(), nullptr, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    UniqueKey key_;
    bool had_ = false;
    std::wstring previous_;
};

TEST(SettingsFlow, GoogleMapsAndHeicChosenThenTheMenuOpensThePhotosLink) {
    const std::wstring photo = FromLinuxPath(QUORIEL_TEST_DATA "/corpus/IMG_5195.HEIC");
    // Windows registers the type for .heic; Wine does not.
    ScratchKey heic(HKEY_CLASSES_ROOT, L".heic");
    heic.SetString(L"Content Type", L"image/heic");
    HttpsToRecorder https;
    const struct {
        const char* what;
        bool installed;  // the installer's default settings are there
    } starts[] = {{"after the installer's defaults", true}, {"with no settings yet", false}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.what);
        SettingsFixture stored;
        if (start.installed) {
            const LaunchTexts defaults = PresetTexts(DefaultPreset());
            stored.Write(defaults.object, defaults.north, defaults.south, defaults.east,
                         defaults.west);
        }
        {
            // The window's own launch records here: the program inherits this environment.
            LaunchRecord opened;
            ProgramWindow window(SettingsProgram());
            ASSERT_TRUE(window.Shown());
            window.Choose(IDC_SERVICE, PresetIndex(L"google-maps"));
            EXPECT_EQ(window.Text(IDC_PREVIEW_SAMPLE), SAMPLE_LINK);
            // The photo is tried by the saved switch: no link until HEIC is applied.
            window.Type(IDC_PHOTO_PATH, photo);
            EXPECT_EQ(window.Text(IDC_PHOTO_LINK), L"");
            EXPECT_FALSE(window.Enabled(IDC_OPEN_LINK));
            const std::wstring notOffered = window.Text(IDC_PHOTO_RESULT);
            window.Click(HEIC_BOX);
            EXPECT_TRUE(window.Checked(HEIC_BOX));
            // Ticked but not applied: the result adds that it is not tried yet, still no link.
            const std::wstring pending = window.Text(IDC_PHOTO_RESULT);
            EXPECT_EQ(pending.rfind(notOffered, 0), 0u) << testing::PrintToString(pending);
            EXPECT_GT(pending.size(), notOffered.size());
            EXPECT_EQ(window.Text(IDC_PHOTO_LINK), L"");
            window.Click(IDC_APPLY);
            EXPECT_EQ(window.Text(IDC_PHOTO_LINK), PHOTO_LINK)
                << "result: " << testing::PrintToString(window.Text(IDC_PHOTO_RESULT));
            EXPECT_TRUE(window.Enabled(IDC_OPEN_LINK));
            window.Click(IDC_OPEN_LINK);
            const auto fromWindow = opened.Wait();
            ASSERT_TRUE(fromWindow.has_value());
            EXPECT_EQ(LaunchRecord::Arguments(*fromWindow), PHOTO_LINK);
            window.Click(IDOK);
            ASSERT_EQ(window.WaitForExit(), 0u);
        }
        QuorielModule module;
        TestWindow owner;
        TestDataObject selection({photo});
        Handler handler(module);
        ASSERT_EQ(handler.init->Initialize(nullptr, &selection, nullptr), S_OK);
        HostMenu host;
        ASSERT_EQ(handler.menu->QueryContextMenu(host.menu, 0, ID_FIRST, ID_LAST, CMF_NORMAL),
                  ONE_ITEM);
        LaunchRecord record;
        EXPECT_EQ(handler.Invoke(owner.Get()), S_OK);
        const auto launched = record.Wait();
        ASSERT_TRUE(launched.has_value());
        EXPECT_EQ(LaunchRecord::Arguments(*launched), PHOTO_LINK);
    }
}

}  // namespace
