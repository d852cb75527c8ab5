#pragma once
// The settings program's name as people meet it: the settings window's caption and the Start
// menu shortcut's name, one per language. Narrow UTF-8 literals so that resource scripts can
// use them; C++ code takes them with an L"" prefix.

#define SETTINGS_CAPTION_JA_TEXT "Quoriel の設定"
#define SETTINGS_CAPTION_EN_TEXT "Quoriel Settings"
