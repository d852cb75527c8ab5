#pragma once
// What both menus show: the item's text and its help text, which Windows 11's menu shows as
// the command's tool tip. The help text follows the account's language for boxes.

#include <windows.h>

#include "common/message_language.h"

constexpr WCHAR MENU_TEXT[] = L"Quoriel";
constexpr WCHAR HELP_TEXT_W[] = L"Exif 情報内の GPS 位置情報を取得します。";
// The same help text in code page 932, whatever the system's code page is.
constexpr char HELP_TEXT_A[] =
    "\x45\x78\x69\x66\x20\x8F\xEE\x95\xF1\x93\xE0\x82\xCC\x20\x47\x50\x53\x20\x88\xCA"
    "\x92\x75\x8F\xEE\x95\xF1\x82\xF0\x8E\xE6\x93\xBE\x82\xB5\x82\xDC\x82\xB7\x81\x42";
static_assert(sizeof(HELP_TEXT_W) / sizeof(WCHAR) == 25 + 1, "25 characters");
static_assert(sizeof(HELP_TEXT_A) == 40 + 1, "40 bytes in code page 932");
// ASCII, so the same bytes in every code page.
constexpr WCHAR HELP_TEXT_EN_W[] = L"Opens the GPS position stored in the file.";
constexpr char HELP_TEXT_EN_A[] = "Opens the GPS position stored in the file.";

inline const WCHAR* HelpTextW(MessageLanguage language) {
    return language == MessageLanguage::ENGLISH ? HELP_TEXT_EN_W : HELP_TEXT_W;
}
inline const char* HelpTextA(MessageLanguage language) {
    return language == MessageLanguage::ENGLISH ? HELP_TEXT_EN_A : HELP_TEXT_A;
}
