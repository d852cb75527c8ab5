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

}  // namespace

bool TemplateBlank(const std::wstring& object) {
    return TemplateStart(object) == object.size();
}

std::wstring ExpandedText(const LaunchTexts& texts, const GpsPosition& position) {
    const std::wstring& object = texts[TEMPLATE_VALUE];
    if (TemplateBlank(object)) {
        return std::wstring();
    }
    const HemisphereTexts hemispheres{View(texts[NORTH_VALUE]), View(texts[SOUTH_VALUE]),
                                      View(texts[EAST_VALUE]), View(texts[WEST_VALUE])};
    UniqueBuffer<WCHAR> expanded;
    if (ExpandPositionTemplate(object.c_str() + TemplateStart(object), object.size(), hemispheres,
                               position, &expanded) != RESULT_DONE) {
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
