#include "tests/support/reported_build.h"

#include <gtest/gtest.h>

#include "common/registry_names.h"

ReportedBuild::ReportedBuild() {
    wchar_t original[64] = {};
    DWORD size = sizeof(original);
    had_ = RegGetValueW(HKEY_LOCAL_MACHINE, WINDOWS_VERSION_KEY, BUILD_NUMBER_VALUE, RRF_RT_REG_SZ,
                        nullptr, original, &size) == ERROR_SUCCESS;
    original_ = original;
}

ReportedBuild::~ReportedBuild() {
    if (had_) {
        Set(original_.c_str());
    } else {
        Remove();
    }
}

void ReportedBuild::Set(DWORD type, const std::wstring& data) const {
    EXPECT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, WINDOWS_VERSION_KEY, BUILD_NUMBER_VALUE, type,
                              data.data(), static_cast<DWORD>(data.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void ReportedBuild::Remove() const {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, WINDOWS_VERSION_KEY, BUILD_NUMBER_VALUE);
}
