#include "install/outcome_lines.h"

#include "common/settings_shortcut.h"
#include "install/exit_codes.h"
#include "install/product_version.h"
#include "install/setup_ids.h"

namespace {

constexpr const WCHAR* LINE_END = L"\r\n";

UINT PlaceId(MenuPlace place) {
    switch (place) {
        case MenuPlace::WINDOWS11_TOP:
            return IDS_PLACE_WINDOWS11_TOP;
        case MenuPlace::SHOW_MORE_OPTIONS:
            return IDS_PLACE_SHOW_MORE_OPTIONS;
        case MenuPlace::CLASSIC:
            return IDS_PLACE_CLASSIC;
    }
    return IDS_PLACE_CLASSIC;
}

}  // namespace

OutcomeText OutcomeLines(const WindowTexts& texts, const InstallOutcome& outcome) {
    OutcomeText text;
    if (outcome.failed) {
        text.headline = texts.Get(IDS_NOT_INSTALLED);
        return text;
    }
    text.headline = FormatText(texts.Get(IDS_INSTALLED), {VersionText(ThisVersion())});
    text.lines.push_back(texts.Get(PlaceId(outcome.place)));
    if (outcome.restartNeeded) {
        text.lines.push_back(texts.Get(IDS_RESTART));
    }
    // The shortcut bears the installing user's language, whatever language a log is in.
    text.lines.push_back(FormatText(texts.Get(IDS_SETTINGS_WHERE),
                                    {ShortcutFor(WindowLanguage()).name, InstalledSettingsPath()}));
    for (const std::wstring& line : text.lines) {
        text.details += line + LINE_END;
    }
    return text;
}

void LogOutcome(SetupLog& log, const WindowTexts& texts, const InstallOutcome& outcome) {
    const OutcomeText text = OutcomeLines(texts, outcome);
    log.Line(text.headline);
    for (const std::wstring& line : text.lines) {
        log.Line(line);
    }
}

int ExitCodeOf(const InstallOutcome& outcome) {
    if (outcome.failed) {
        return EXIT_FAILED;
    }
    return outcome.restartNeeded ? EXIT_DONE_AFTER_RESTART : EXIT_DONE;
}
