#pragma once
// What scripts/wine-prefix.sh puts into the test prefix.

constexpr const wchar_t* RECORDER_PATH = L"C:\\qrtest\\launch-recorder.exe";
constexpr const wchar_t* RECORDER_SCHEME = L"qrtest";
