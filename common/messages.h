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

// The uninstaller's boxes.
constexpr const wchar_t* TEXT_ADMIN_REQUIRED = L"アンインストールには管理者権限が必要です。";
constexpr const wchar_t* TEXT_CONFIRM_UNINSTALL = L"Quorielのアンインストールを行います。";
constexpr const wchar_t* TEXT_REGISTRY_LEFT =
    L"レジストリ設定項目の一部または全部を削除できませんでした。";
constexpr const wchar_t* TEXT_FILES_LEFT = L"削除できないファイルがありました。";
// One carriage return between the sentences, no line feed.
constexpr const wchar_t* TEXT_UNINSTALLED =
    L"アンインストールは正常に終了しました。\r"
    L"使用中のため削除できないファイルは、次回 Windows 起動時に削除されます。";

constexpr UINT STYLE_WARNING = MB_OK | MB_ICONWARNING;
constexpr UINT STYLE_INFORMATION = MB_OK | MB_ICONINFORMATION;
constexpr UINT STYLE_ERROR = MB_OK | MB_ICONERROR;
// Cancel is the default: Enter alone does not uninstall.
constexpr UINT STYLE_CONFIRM = MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2;
