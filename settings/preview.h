#pragma once
// What the menu would launch for a position with the texts being edited, by the module's own
// expansion, and what is wrong with a template in words.

#include <windows.h>

#include <array>
#include <string>

#include "common/gps_position.h"
#include "common/launch_values.h"
#include "common/messages.h"
#include "common/ui_language.h"

// The five launch values as the window holds them, by LaunchValue.
using LaunchTexts = std::array<std::wstring, LAUNCH_VALUE_COUNT>;

// Whether the menu would take the template for unset: empty or only spaces.
bool TemplateBlank(const std::wstring& object);

// The text the menu would launch for position; empty for a blank template (the menu launches
// nothing then) or when memory runs out.
std::wstring ExpandedText(const LaunchTexts& texts, const GpsPosition& position);

// A position in decimal degrees, by the expansion itself so that it reads as the links do:
// "35.681236° N, 139.767125° E".
std::wstring DegreesText(const GpsPosition& position);

// What to say beside the template: its first malformed code, or that the menu would say it is
// not set; empty when neither.
std::wstring TemplateProblem(const std::wstring& object, const WindowTexts& texts,
                             const MessageTexts& messages);

// Whether the template may be saved: no malformed code.
bool TemplateSavable(const std::wstring& object);
