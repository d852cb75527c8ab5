#pragma once
// Every text the user sees, with its caption and box style.

#include <windows.h>

constexpr const wchar_t* CAPTION_COMMAND = L"Quoriel";
constexpr const wchar_t* CAPTION_UNINSTALL = L"Quoriel アンインストール";

constexpr const wchar_t* TEXT_TEMPLATE_NOT_SET = L"起動 URL／コマンドが設定されていません。";
constexpr const wchar_t* TEXT_LAUNCH_FAILED = L"URL／コマンドの起動ができませんでした。";
constexpr const wchar_t* TEXT_NO_POSITION = L"ファイルに位置情報がありません。";
constexpr const wchar_t* TEXT_NO_EXIF =
    L"ファイルに Exif 情報が無いか、このプログラムでは対応していないバージョンのファイルです。";

constexpr UINT STYLE_WARNING = MB_OK | MB_ICONWARNING;
constexpr UINT STYLE_INFORMATION = MB_OK | MB_ICONINFORMATION;
