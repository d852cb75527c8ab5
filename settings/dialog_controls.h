#pragma once
// Text and state of the window's controls by identifier.

#include <windows.h>

#include <string>

std::wstring ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::wstring& text);
bool BoxChecked(HWND dialog, int id);
void CheckBox(HWND dialog, int id, bool checked);
