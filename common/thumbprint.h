#pragma once
// The certificate the installer trusts for the Windows 11 package: the machine's store it goes
// into (never Root), and its SHA-1 thumbprint as the installer records it for Uninstall, 40
// upper-case hexadecimal digits.

#include <windows.h>

#include <string>

constexpr const WCHAR* TRUSTED_PEOPLE_STORE = L"TrustedPeople";

constexpr DWORD THUMBPRINT_BYTES = 20;
constexpr size_t THUMBPRINT_DIGITS = 2 * THUMBPRINT_BYTES;

std::wstring ThumbprintText(const BYTE (&hash)[THUMBPRINT_BYTES]);
// False unless text is exactly 40 hexadecimal digits, either case.
bool ThumbprintBytes(const std::wstring& text, BYTE (&hash)[THUMBPRINT_BYTES]);
