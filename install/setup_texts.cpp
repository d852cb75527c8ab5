#include "install/setup_texts.h"

#include "install/product_version.h"
#include "install/setup_ids.h"

namespace {

constexpr LANGID ENGLISH = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr LANGID ANY_LANGUAGE = 0;
constexpr DWORD MESSAGE_FLAGS =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
constexpr DWORD MESSAGE_ROOM = 512;

template <typename Key>
struct TextOf {
    Key key;
    UINT id;
};

constexpr TextOf<SetupStep> STEP_TEXTS[] = {
    {SetupStep::CHECK_VERSION, IDS_STEP_CHECK_VERSION},
    {SetupStep::COPY_MODULE, IDS_STEP_COPY_MODULE},
    {SetupStep::COPY_SETTINGS, IDS_STEP_COPY_SETTINGS},
    {SetupStep::KEEP_SETUP, IDS_STEP_KEEP_SETUP},
    {SetupStep::KEEP_PACKAGE, IDS_STEP_KEEP_PACKAGE},
    {SetupStep::REGISTER, IDS_STEP_REGISTER},
    {SetupStep::OTHER_ACCOUNTS, IDS_STEP_OTHER_ACCOUNTS},
    {SetupStep::TEST_CERTIFICATE, IDS_STEP_TEST_CERTIFICATE},
    {SetupStep::WINDOWS11_MENU, IDS_STEP_WINDOWS11_MENU},
    {SetupStep::WRITE_SETTINGS, IDS_STEP_WRITE_SETTINGS},
    {SetupStep::SWITCH_PHOTO_FORMATS, IDS_STEP_SWITCH_PHOTO_FORMATS},
    {SetupStep::SWITCH_ALL_FORMATS, IDS_STEP_SWITCH_ALL_FORMATS},
    {SetupStep::SHORTCUT, IDS_STEP_SHORTCUT},
};

constexpr TextOf<StepState> STATE_TEXTS[] = {
    {StepState::DONE, IDS_STATE_DONE},
    {StepState::DONE_AFTER_RESTART, IDS_STATE_DONE_AFTER_RESTART},
    {StepState::KEPT, IDS_STATE_KEPT},
    {StepState::NOTED, IDS_STATE_NOTED},
    {StepState::FAILED, IDS_STATE_FAILED},
    {StepState::TOLD, IDS_STATE_TOLD},
};

template <typename Key, size_t N>
UINT IdOf(const TextOf<Key> (&table)[N], Key key) {
    for (const TextOf<Key>& entry : table) {
        if (entry.key == key) {
            return entry.id;
        }
    }
    return 0;
}

// The system's text, on one line, without the line end it comes with.
std::wstring SystemMessage(LANGID language, HRESULT error) {
    WCHAR text[MESSAGE_ROOM] = {};
    DWORD length = FormatMessageW(MESSAGE_FLAGS, nullptr, static_cast<DWORD>(error), language, text,
                                  MESSAGE_ROOM, nullptr);
    if (length == 0 && language != ANY_LANGUAGE) {
        length = FormatMessageW(MESSAGE_FLAGS, nullptr, static_cast<DWORD>(error), ANY_LANGUAGE,
                                text, MESSAGE_ROOM, nullptr);
    }
    while (length > 0 &&
           (text[length - 1] == L' ' || text[length - 1] == L'\r' || text[length - 1] == L'\n')) {
        --length;
    }
    return std::wstring(text, length);
}

std::wstring ErrorNumber(HRESULT error) {
    if (HRESULT_FACILITY(error) == FACILITY_WIN32) {
        return std::to_wstring(HRESULT_CODE(error));
    }
    return L"0x" + ErrorCodeText(error);
}

}  // namespace

WindowTexts LogTexts(HINSTANCE instance) {
    return {instance, ENGLISH};
}

std::wstring ErrorLine(const WindowTexts& texts, UINT id, const std::wstring& subject,
                       HRESULT error) {
    return FormatText(texts.Get(id),
                      {subject, SystemMessage(texts.language, error), ErrorNumber(error)});
}

std::wstring StepLine(const WindowTexts& texts, const StepResult& result) {
    const std::wstring step = texts.Get(IdOf(STEP_TEXTS, result.step));
    if (result.step == SetupStep::CHECK_VERSION) {
        return FormatText(step, {result.subject, VersionText(ThisVersion())});
    }
    const std::wstring named = FormatText(step, {result.subject});
    if (result.state == StepState::FAILED) {
        return ErrorLine(texts, IDS_STATE_FAILED, named, result.error);
    }
    return FormatText(texts.Get(IdOf(STATE_TEXTS, result.state)), {named, result.subject});
}
