#include "common/package_presence.h"

#include "quoriel_package_family.h"

namespace {

constexpr const WCHAR* KERNEL = L"kernel32.dll";
constexpr const char* GET_PACKAGES = "GetPackagesByPackageFamily";

}  // namespace

const WCHAR* const PACKAGE_FAMILY = QUORIEL_PACKAGE_FAMILY_TEXT;

bool PackageRegisteredWith(GetPackagesByFamilyFunction getPackages, const WCHAR* family) {
    if (getPackages == nullptr) {
        return false;
    }
    // Asked for the count alone: the names need room, which the answer says is missing.
    UINT32 count = 0;
    UINT32 bufferLength = 0;
    const LONG result = getPackages(family, &count, nullptr, &bufferLength, nullptr);
    return (result == ERROR_SUCCESS || result == ERROR_INSUFFICIENT_BUFFER) && count > 0;
}

bool PackageRegisteredForUser() {
    // kernel32 is loaded in every process: no reference of ours to hold.
    const HMODULE kernel = GetModuleHandleW(KERNEL);
    const auto getPackages = reinterpret_cast<GetPackagesByFamilyFunction>(reinterpret_cast<void*>(
        kernel == nullptr ? nullptr : GetProcAddress(kernel, GET_PACKAGES)));
    return PackageRegisteredWith(getPackages, PACKAGE_FAMILY);
}
