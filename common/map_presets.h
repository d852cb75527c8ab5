#pragma once
// The map services that ship as settings presets: the five launch values each writes. The
// installer's default settings are the first; the settings window offers them all;
// install/presets/*.reg hold the same values for double-clicking (a test keeps them equal).

#include <windows.h>

#include "common/launch_values.h"

struct MapPreset {
    const WCHAR* name;  // the service's name, in English
    const WCHAR* file;  // install/presets/<file>.reg, and the key of its name in other languages
    const WCHAR* texts[LAUNCH_VALUE_COUNT];
};

inline constexpr MapPreset MAP_PRESETS[] = {
    {L"OpenStreetMap", L"openstreetmap",
     L"https://www.openstreetmap.org/?mlat=@AH@Ad&mlon=@OH@Od#map=16/@AH@Ad/@OH@Od", L"", L"-", L"",
     L"-"},
    {L"Google Maps", L"google-maps",
     L"https://www.google.com/maps/search/?api=1&query=@AH@Ad,@OH@Od", L"", L"-", L"", L"-"},
    {L"Bing Maps", L"bing-maps", L"https://www.bing.com/maps?cp=@AH@Ad~@OH@Od&lvl=16", L"", L"-",
     L"", L"-"},
    {L"GeoHack", L"geohack",
     L"https://geohack.toolforge.org/geohack.php?params=@AD_@AM_@As_@AH_@OD_@OM_@Os_@OH", L"N",
     L"S", L"E", L"W"},
    {L"Command prompt", L"command-line",
     L"cmd.exe /k echo latitude @AD deg @AM min @As sec @AH, longitude @OD deg @OM min @Os sec @OH",
     L"N", L"S", L"E", L"W"},
};

// What the installer writes for a user who has no settings yet.
inline constexpr const MapPreset& DEFAULT_PRESET = MAP_PRESETS[0];
