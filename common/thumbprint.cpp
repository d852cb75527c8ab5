#include "common/thumbprint.h"

namespace {

constexpr const WCHAR* DIGITS = L"0123456789ABCDEF";
constexpr int NOT_A_DIGIT = -1;
constexpr int BITS_PER_DIGIT = 4;
constexpr BYTE LOW_DIGIT = 0x0F;
constexpr int TEN = 10;

int DigitValue(WCHAR c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + TEN;
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + TEN;
    }
    return NOT_A_DIGIT;
}

}  // namespace

std::wstring ThumbprintText(const BYTE (&hash)[THUMBPRINT_BYTES]) {
    std::wstring text;
    for (const BYTE b : hash) {
        text += DIGITS[b >> BITS_PER_DIGIT];
        text += DIGITS[b & LOW_DIGIT];
    }
    return text;
}

bool ThumbprintBytes(const std::wstring& text, BYTE (&hash)[THUMBPRINT_BYTES]) {
    if (text.size() != THUMBPRINT_DIGITS) {
        return false;
    }
    for (DWORD i = 0; i < THUMBPRINT_BYTES; ++i) {
        const int high = DigitValue(text[2 * i]);
        const int low = DigitValue(text[2 * i + 1]);
        if (high == NOT_A_DIGIT || low == NOT_A_DIGIT) {
            return false;
        }
        hash[i] = static_cast<BYTE>((high << BITS_PER_DIGIT) | low);
    }
    return true;
}
