#pragma once
// The five launch values the command reads, in the order the settings window shows them and a
// map preset lists them: the template, then what "@AH" and "@OH" write for each hemisphere.
// Everything that reads, writes, shows or ships them takes the order and the names from here.

#include <windows.h>

#include "common/registry_names.h"

enum LaunchValue {
    TEMPLATE_VALUE,
    NORTH_VALUE,
    SOUTH_VALUE,
    EAST_VALUE,
    WEST_VALUE,
    LAUNCH_VALUE_COUNT
};

constexpr const WCHAR* LAUNCH_VALUE_NAMES[LAUNCH_VALUE_COUNT] = {
    SETTING_TEMPLATE, SETTING_NORTH, SETTING_SOUTH, SETTING_EAST, SETTING_WEST};
