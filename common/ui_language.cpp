#include "common/ui_language.h"

namespace {

constexpr UINT STRINGS_PER_BLOCK = 16;
constexpr WCHAR PLACEHOLDER = L'%';
constexpr WCHAR FIRST_ARGUMENT = L'1';
constexpr const WCHAR* ERROR_CODE_FORMAT = L"%08X";
constexpr int ERROR_CODE_CHARACTERS = 8 + 1;

const void* FindResourceData(HINSTANCE instance, const WCHAR* type, const WCHAR* name,
                             LANGID language, DWORD* size) {
    HRSRC found = FindResourceExW(instance, type, name, language);
    if (found == nullptr) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr) {
        return nullptr;
    }
    *size = SizeofResource(instance, found);
    return LockResource(loaded);
}

}  // namespace

LANGID WindowLanguage() {
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
        return MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    }
    return MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

const DLGTEMPLATE* DialogTemplate(HINSTANCE instance, LANGID language, WORD id) {
    DWORD size = 0;
    return static_cast<const DLGTEMPLATE*>(
        FindResourceData(instance, RT_DIALOG, MAKEINTRESOURCEW(id), language, &size));
}

// A string table block holds 16 texts, each a count of characters followed by them.
std::wstring LoadText(HINSTANCE instance, LANGID language, UINT id) {
    DWORD size = 0;
    const auto* block = static_cast<const WCHAR*>(FindResourceData(
        instance, RT_STRING, MAKEINTRESOURCEW(id / STRINGS_PER_BLOCK + 1), language, &size));
    if (block == nullptr) {
        return std::wstring();
    }
    const WCHAR* end = block + size / sizeof(WCHAR);
    const WCHAR* entry = block;
    for (UINT index = 0; index < id % STRINGS_PER_BLOCK && entry < end; ++index) {
        entry += 1 + *entry;
    }
    if (entry >= end || static_cast<size_t>(end - entry - 1) < *entry) {
        return std::wstring();
    }
    return std::wstring(entry + 1, *entry);
}

std::wstring FormatText(const std::wstring& text, std::initializer_list<std::wstring> arguments) {
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t number = i + 1 < text.size()
                                  ? static_cast<size_t>(text[i + 1] - FIRST_ARGUMENT)
                                  : arguments.size();
        if (text[i] == PLACEHOLDER && number < arguments.size()) {
            result += arguments.begin()[number];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::wstring ErrorCodeText(long error) {
    WCHAR text[ERROR_CODE_CHARACTERS];
    wsprintfW(text, ERROR_CODE_FORMAT, static_cast<unsigned>(error));
    return text;
}
