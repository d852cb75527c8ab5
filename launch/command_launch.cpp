#include "launch/command_launch.h"

#include <shellapi.h>

#include "common/owners.h"
#include "launch/launch_settings.h"
#include "launch/template_expansion.h"

namespace {

constexpr const WCHAR* VERB_OPEN = L"open";
// ShellExecuteW reports a started launch with a value above 32.
constexpr INT_PTR SHELL_EXECUTE_STARTED = 32;

}  // namespace

void SplitAtFirstSpace(WCHAR* text, const WCHAR** file, const WCHAR** parameters) {
    *file = text;
    *parameters = nullptr;
    for (WCHAR* p = text; *p != L'\0'; ++p) {
        if (*p == L' ') {
            *p = L'\0';
            *parameters = p + 1;
            return;
        }
    }
}

Status LaunchPosition(HWND owner, const MessageTexts& texts, const GpsPosition& position) {
    LaunchSettings settings;
    Status status = LoadLaunchSettings(owner, texts, &settings);
    if (status != RESULT_DONE) {
        return status;
    }
    UniqueBuffer<WCHAR> expanded;
    status = ExpandPositionTemplate(settings.TemplateText(), settings.object.length,
                                    settings.Hemispheres(), position, &expanded);
    if (status != RESULT_DONE) {
        return status;
    }
    return LaunchExpandedText(owner, texts, expanded.Get());
}

Status LaunchExpandedText(HWND owner, const MessageTexts& texts, WCHAR* text) {
    const WCHAR* file = nullptr;
    const WCHAR* parameters = nullptr;
    SplitAtFirstSpace(text, &file, &parameters);
    const INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, VERB_OPEN, file, parameters, nullptr, SW_SHOWNA));
    if (result > SHELL_EXECUTE_STARTED) {
        return RESULT_DONE;
    }
    MessageBoxW(owner, texts.launchFailed, texts.commandCaption, STYLE_INFORMATION);
    return RESULT_REPORTED;
}
