#pragma once
// The Windows build number the prefix reports (HKLM "...\Windows NT\CurrentVersion" value
// CurrentBuildNumber), set for a test and put back when the object goes: Wine cannot report
// Windows 11 by itself.

#include <windows.h>

#include <string>

class ReportedBuild {
  public:
    ReportedBuild();
    ~ReportedBuild();
    ReportedBuild(const ReportedBuild&) = delete;
    ReportedBuild& operator=(const ReportedBuild&) = delete;

    // The value exactly as given: any type, any bytes (a string with its NUL where it has one).
    void Set(DWORD type, const std::wstring& data) const;
    void Set(const wchar_t* build) const { Set(REG_SZ, std::wstring(build) + L'\0'); }
    void Remove() const;

  private:
    bool had_ = false;
    std::wstring original_;
};
