#include "settings/preview.h"

#include "common/messages.h"
#include "launch/template_expansion.h"
#include "settings/settings_strings.h"

namespace {

constexpr WCHAR SPACE = L' ';
const LaunchTexts DEGREES = {L"@Ad° @AH, @Od° @OH", L"N", L"S", L"E", L"W"};

// Where the menu starts reading the template: its first character that is not a space.
size_t TemplateStart(const std::wstring& object) {
    const size_t start = object.find_first_not_of(SPACE);
    return start == std::wstring::npos ? object.size() : start;
}

StoredText View(const std::wstring& text) {
    return StoredText{text.c_str(), text.size()};
}

// The launch values in the window's order.
constexpr std::wstring LaunchTexts::*const LAUNCH_FIELDS[] = {
    &LaunchTexts::object, &LaunchTexts::north, &LaunchTexts::south, &LaunchTexts::east,
    &LaunchTexts::west};

}  // namespace

std::wstring& TextOf(LaunchTexts& texts, int index) {
    return texts.*LAUNCH_FIELDS[index];
}

const std::wstring& TextOf(const LaunchTexts& texts, int index) {
    return texts.*LAUNCH_FIELDS[index];
}

bool TemplateBlank(const std::wstring& object) {
    return TemplateStart(object) == object.size();
}

std::wstring ExpandedText(const LaunchTexts& texts, const GpsPosition& position) {
    if (TemplateBlank(texts.object)) {
        return std::wstring();
    }
    const HemisphereTexts hemispheres{View(texts.north), View(texts.south), View(texts.east),
                                      View(texts.west)};
    UniqueBuffer<WCHAR> expanded;
    if (ExpandPositionTemplate(texts.object.c_str() + TemplateStart(texts.object),
                               texts.object.size(), hemispheres, position,
                               &expanded) != RESULT_DONE) {
        return std::wstring();
    }
    return expanded.Get();
}

std::wstring DegreesText(const GpsPosition& position) {
    return ExpandedText(DEGREES, position);
}

std::wstring TemplateProblem(const std::wstring& object, const WindowTexts& texts,
                             const MessageTexts& messages) {
    if (TemplateBlank(object)) {
        return FormatText(texts.Get(IDS_TEMPLATE_EMPTY), {messages.templateNotSet});
    }
    const size_t start = TemplateStart(object);
    size_t offset = 0;
    size_t length = 0;
    if (!FindMalformedCode(object.c_str() + start, &offset, &length)) {
        return std::wstring();
    }
    return FormatText(texts.Get(IDS_MALFORMED_CODE),
                      {object.substr(start + offset, length), std::to_wstring(start + offset + 1)});
}

bool TemplateSavable(const std::wstring& object) {
    size_t offset = 0;
    size_t length = 0;
    return !FindMalformedCode(object.c_str() + TemplateStart(object), &offset, &length);
}
