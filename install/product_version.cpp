#include "install/product_version.h"

#include <cstring>

#include "common/owners.h"

#include "quoriel_version.h"

namespace {

constexpr int PART_BITS = 16;
constexpr ProductVersion PART_MASK = 0xFFFF;
constexpr int PARTS = 4;
// VS_VERSIONINFO: 2 wLength + 2 wValueLength + 2 wType + 32 szKey "VS_VERSION_INFO" with its
// NUL = 38, padded to 40; then VS_FIXEDFILEINFO, which begins with its signature.
constexpr size_t FIXED_INFO_OFFSET = 40;
constexpr DWORD FIXED_INFO_SIGNATURE = 0xFEEF04BD;

ProductVersion Compose(ProductVersion major, ProductVersion minor, ProductVersion patch,
                       ProductVersion build) {
    return major << (3 * PART_BITS) | minor << (2 * PART_BITS) | patch << PART_BITS | build;
}

}  // namespace

ProductVersion ThisVersion() {
    return Compose(QUORIEL_VERSION_MAJOR, QUORIEL_VERSION_MINOR, QUORIEL_VERSION_PATCH,
                   QUORIEL_VERSION_BUILD);
}

// The version resource read as data, without version.dll, which is not one of Windows' known
// DLLs: an elevated setup program must import nothing that its own folder could stand in for.
std::optional<ProductVersion> FileVersionOf(const std::wstring& path) {
    const UniqueModule image(LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
    const HRSRC found =
        image ? FindResourceW(image.Get(), MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION) : nullptr;
    const HGLOBAL loaded = found != nullptr ? LoadResource(image.Get(), found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (data == nullptr ||
        SizeofResource(image.Get(), found) < FIXED_INFO_OFFSET + sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO fixed = {};
    std::memcpy(&fixed, data + FIXED_INFO_OFFSET, sizeof(fixed));
    if (fixed.dwSignature != FIXED_INFO_SIGNATURE) {
        return std::nullopt;
    }
    return static_cast<ProductVersion>(fixed.dwFileVersionMS) << (2 * PART_BITS) |
           fixed.dwFileVersionLS;
}

std::wstring VersionText(ProductVersion version) {
    std::wstring text;
    for (int part = PARTS - 1; part >= 0; --part) {
        text += std::to_wstring((version >> (part * PART_BITS)) & PART_MASK);
        text += part > 0 ? L"." : L"";
    }
    return text;
}
