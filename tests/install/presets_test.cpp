// The settings presets a user imports: each map preset holds exactly its row of the presets
// table, which the installer's default and the settings window take their values from, and
// expands for the positions of the real photos.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/map_presets.h"
#include "install/installation.h"
#include "launch/launch_settings.h"
#include "launch/template_expansion.h"
#include "tests/position/corpus_cases.h"
#include "tests/support/child_process.h"
#include "tests/support/registry_scratch.h"

namespace {

std::wstring PresetPath(const wchar_t* name) {
    return FromLinuxPath(QUORIEL_PRESETS) + L"\\" + name + L".reg";
}

// reg.exe import adds the preset's values to the settings there are.
void MergePreset(const wchar_t* name) {
    ASSERT_EQ(RunToEnd(L"C:\\windows\\system32\\reg.exe import \"" + PresetPath(name) + L"\""), 0)
        << "reg import failed";
}

void ImportPreset(const wchar_t* name) {
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    MergePreset(name);
}

const CorpusCase& Photo(const char* name) {
    for (const CorpusCase& c : CORPUS_CASES) {
        if (std::string(c.name) == name) {
            return c;
        }
    }
    throw std::runtime_error(name);
}

std::wstring ExpandFor(const CorpusCase& photo) {
    LaunchSettings settings;
    EXPECT_EQ(LoadLaunchSettings(nullptr, JAPANESE_MESSAGES, &settings), RESULT_DONE);
    if (!settings.object.text) {
        return L"(no settings)";
    }
    const GpsPosition position{photo.latitude, photo.longitude, photo.north, photo.east};
    UniqueBuffer<WCHAR> expanded;
    EXPECT_EQ(ExpandPositionTemplate(settings.TemplateText(), settings.object.length,
                                     settings.Hemispheres(), position, &expanded),
              RESULT_DONE);
    return expanded.Get();
}

struct PresetCase {
    const wchar_t* preset;
    const char* photo;
    const wchar_t* expanded;
};

TEST(Presets, EachPresetExpandsTheRealPhotosPositions) {
    const PresetCase cases[] = {
        {L"openstreetmap", "DSCN0010.jpg",
         L"https://www.openstreetmap.org/?mlat=43.467448&mlon=11.885126#map=16/43.467448/"
         L"11.885126"},
        {L"openstreetmap", "Kodak_CX7530.jpg",
         L"https://www.openstreetmap.org/?mlat=-0.3713&mlon=36.056416#map=16/-0.3713/36.056416"},
        {L"openstreetmap", "iphone_hdr_NO.jpg",
         L"https://www.openstreetmap.org/?mlat=40.446972&mlon=-3.724752#map=16/40.446972/"
         L"-3.724752"},
        {L"openstreetmap", "gps_ii.tiff",
         L"https://www.openstreetmap.org/?mlat=-22.908333&mlon=-43.172666#map=16/-22.908333/"
         L"-43.172666"},
        {L"google-maps", "DSCN0010.jpg",
         L"https://www.google.com/maps/search/?api=1&query=43.467448,11.885126"},
        {L"google-maps", "Kodak_CX7530.jpg",
         L"https://www.google.com/maps/search/?api=1&query=-0.3713,36.056416"},
        {L"google-maps", "iphone_hdr_NO.jpg",
         L"https://www.google.com/maps/search/?api=1&query=40.446972,-3.724752"},
        {L"google-maps", "gps_ii.tiff",
         L"https://www.google.com/maps/search/?api=1&query=-22.908333,-43.172666"},
        {L"bing-maps", "DSCN0010.jpg", L"https://www.bing.com/maps?cp=43.467448~11.885126&lvl=16"},
        {L"bing-maps", "Kodak_CX7530.jpg",
         L"https://www.bing.com/maps?cp=-0.3713~36.056416&lvl=16"},
        {L"bing-maps", "iphone_hdr_NO.jpg",
         L"https://www.bing.com/maps?cp=40.446972~-3.724752&lvl=16"},
        {L"bing-maps", "gps_ii.tiff", L"https://www.bing.com/maps?cp=-22.908333~-43.172666&lvl=16"},
        {L"geohack", "DSCN0010.jpg",
         L"https://geohack.toolforge.org/geohack.php?params=43_28_2.814_N_11_53_6.455999_E"},
        {L"geohack", "Kodak_CX7530.jpg",
         L"https://geohack.toolforge.org/geohack.php?params=0_22_16.68_S_36_3_23.1_E"},
        {L"geohack", "iphone_hdr_NO.jpg",
         L"https://geohack.toolforge.org/geohack.php?params=40_26_49.1_N_3_43_29.11_W"},
        {L"geohack", "gps_ii.tiff",
         L"https://geohack.toolforge.org/geohack.php?params=22_54_30_S_43_10_21.6_W"},
        {L"command-line", "DSCN0010.jpg",
         L"cmd.exe /k echo latitude 43 deg 28 min 2.814 sec N, longitude 11 deg 53 min 6.455999 "
         L"sec E"},
        {L"command-line", "Kodak_CX7530.jpg",
         L"cmd.exe /k echo latitude 0 deg 22 min 16.68 sec S, longitude 36 deg 3 min 23.1 sec E"},
        {L"command-line", "iphone_hdr_NO.jpg",
         L"cmd.exe /k echo latitude 40 deg 26 min 49.1 sec N, longitude 3 deg 43 min 29.11 sec W"},
        {L"command-line", "gps_ii.tiff",
         L"cmd.exe /k echo latitude 22 deg 54 min 30 sec S, longitude 43 deg 10 min 21.6 sec W"},
    };
    const wchar_t* imported = L"";
    for (const PresetCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.preset)) + " " + c.photo);
        if (std::wstring(imported) != c.preset) {
            ImportPreset(c.preset);
            imported = c.preset;
        }
        EXPECT_EQ(ExpandFor(Photo(c.photo)), c.expanded);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
}

// The settings key holds the row's five values as REG_SZ, as the menu reads them, and no other.
void ExpectSettingsAre(const MapPreset& preset) {
    UniqueKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, key.Put()),
              ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 5u);
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        const wchar_t* name = LAUNCH_VALUE_NAMES[i];
        const wchar_t* text = preset.texts[i];
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        DWORD type = REG_NONE;
        EXPECT_EQ(RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        SettingText read;
        ASSERT_EQ(QuerySettingString(key.Get(), name, &read), RESULT_DONE);
        EXPECT_EQ(std::wstring(read.text.Get(), read.length), text);
    }
}

TEST(Presets, EachMapPresetFileHoldsExactlyItsRow) {
    for (const MapPreset& preset : MAP_PRESETS) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(preset.file)));
        ImportPreset(preset.file);
        ExpectSettingsAre(preset);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
}

TEST(Presets, InstallerWritesTheDefaultRowWhichIsOpenStreetMap) {
    EXPECT_EQ(std::wstring(DEFAULT_PRESET.file), L"openstreetmap");
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
    ASSERT_TRUE(WriteDefaultSettings());
    ExpectSettingsAre(DEFAULT_PRESET);
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
}

// The switch presets and the installer's /formats write the lists of the formats table: the
// photo preset and /formats its switched photo formats, the others and /formats:all their
// groups' formats.
// None of them touches the map settings.
TEST(Presets, FormatPresetsSwitchOnTheirLists) {
    const std::wstring everyPhotoFormat = SwitchedFormats({FormatGroup::PHOTO});
    // What users of earlier versions were given, byte for byte.
    EXPECT_EQ(everyPhotoFormat, L"image/heic; image/heif; image/avif; image/webp; image/png");
    const struct {
        const wchar_t* preset;  // null: the installer's choice
        std::wstring formats;
        FormatsChoice choice;
    } cases[] = {
        {L"photo-formats", everyPhotoFormat},
        {L"photo-and-video-formats", SwitchedFormats({FormatGroup::PHOTO, FormatGroup::VIDEO})},
        {L"photo-video-and-raw-formats",
         SwitchedFormats({FormatGroup::PHOTO, FormatGroup::VIDEO, FormatGroup::RAW})},
        {nullptr, everyPhotoFormat, FormatsChoice::PHOTOS},
        {nullptr, SwitchedFormats({FormatGroup::PHOTO, FormatGroup::VIDEO, FormatGroup::RAW}),
         FormatsChoice::ALL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.preset ? c.preset : L"installer")));
        ImportPreset(L"openstreetmap");
        const std::wstring map = ExpandFor(Photo("gps_ii.tiff"));
        if (c.preset != nullptr) {
            MergePreset(c.preset);
        } else {
            ASSERT_TRUE(SwitchOnFormats(c.choice));
        }
        EXPECT_EQ(ExpandFor(Photo("gps_ii.tiff")), map);
        LaunchSettings settings;
        ASSERT_EQ(LoadLaunchSettings(nullptr, JAPANESE_MESSAGES, &settings), RESULT_DONE);
        SettingText formats;
        ASSERT_EQ(QuerySettingString(settings.key.Get(), SETTING_FORMATS, &formats), RESULT_DONE);
        EXPECT_EQ(std::wstring(formats.text.Get()), c.formats);
    }
    DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
}

}  // namespace
