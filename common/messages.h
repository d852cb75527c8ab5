#pragma once
// Every text the user sees in a box, with its caption and box style: the Japanese texts that
// every account sees by default, and the English ones for an account that asks for them.

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

constexpr const wchar_t* CAPTION_UNINSTALL_EN = L"Quoriel Uninstall";
constexpr const wchar_t* TEXT_TEMPLATE_NOT_SET_EN =
    L"No launch URL or command is set. Set one in Quoriel Settings.";
constexpr const wchar_t* TEXT_LAUNCH_FAILED_EN =
    L"The URL or command could not be started. Check the template in Quoriel Settings.";
constexpr const wchar_t* TEXT_NO_POSITION_EN = L"This file has no GPS position.";
constexpr const wchar_t* TEXT_NO_EXIF_EN =
    L"This file has no Exif data, or its format is not supported.";
constexpr const wchar_t* TEXT_ADMIN_REQUIRED_EN =
    L"Uninstalling Quoriel requires administrator rights.";
constexpr const wchar_t* TEXT_CONFIRM_UNINSTALL_EN =
    L"Quoriel will be uninstalled. Click OK to continue.";
constexpr const wchar_t* TEXT_REGISTRY_LEFT_EN =
    L"Some or all of Quoriel's registry entries could not be removed.";
constexpr const wchar_t* TEXT_FILES_LEFT_EN = L"Some files could not be deleted.";
constexpr const wchar_t* TEXT_UNINSTALLED_EN =
    L"Quoriel was uninstalled.\r\n"
    L"Files that are in use will be deleted the next time Windows starts.";

// One language's box texts, passed to whatever shows a box.
struct MessageTexts {
    const wchar_t* commandCaption;
    const wchar_t* uninstallCaption;
    const wchar_t* templateNotSet;
    const wchar_t* launchFailed;
    const wchar_t* noPosition;
    const wchar_t* noExif;
    const wchar_t* adminRequired;
    const wchar_t* confirmUninstall;
    const wchar_t* registryLeft;
    const wchar_t* filesLeft;
    const wchar_t* uninstalled;
};

constexpr MessageTexts JAPANESE_MESSAGES = {
    CAPTION_COMMAND,    CAPTION_UNINSTALL, TEXT_TEMPLATE_NOT_SET, TEXT_LAUNCH_FAILED,
    TEXT_NO_POSITION,   TEXT_NO_EXIF,      TEXT_ADMIN_REQUIRED,   TEXT_CONFIRM_UNINSTALL,
    TEXT_REGISTRY_LEFT, TEXT_FILES_LEFT,   TEXT_UNINSTALLED};
constexpr MessageTexts ENGLISH_MESSAGES = {
    CAPTION_COMMAND,        CAPTION_UNINSTALL_EN,      TEXT_TEMPLATE_NOT_SET_EN,
    TEXT_LAUNCH_FAILED_EN,  TEXT_NO_POSITION_EN,       TEXT_NO_EXIF_EN,
    TEXT_ADMIN_REQUIRED_EN, TEXT_CONFIRM_UNINSTALL_EN, TEXT_REGISTRY_LEFT_EN,
    TEXT_FILES_LEFT_EN,     TEXT_UNINSTALLED_EN};

constexpr UINT STYLE_WARNING = MB_OK | MB_ICONWARNING;
constexpr UINT STYLE_INFORMATION = MB_OK | MB_ICONINFORMATION;
constexpr UINT STYLE_ERROR = MB_OK | MB_ICONERROR;
// Cancel is the default: Enter alone does not uninstall.
constexpr UINT STYLE_CONFIRM = MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2;
