#include "install/product_version.h"

#include <vector>

#include "quoriel_version.h"

namespace {

constexpr int PART_BITS = 16;
constexpr ProductVersion PART_MASK = 0xFFFF;
constexpr int PARTS = 4;
constexpr const WCHAR* ROOT_BLOCK = L"\\";

ProductVersion Compose(ProductVersion major, ProductVersion minor, ProductVersion patch,
                       ProductVersion build) {
    return major << (3 * PART_BITS) | minor << (2 * PART_BITS) | patch << PART_BITS | build;
}

}  // namespace

ProductVersion ThisVersion() {
    return Compose(QUORIEL_VERSION_MAJOR, QUORIEL_VERSION_MINOR, QUORIEL_VERSION_PATCH,
                   QUORIEL_VERSION_BUILD);
}

std::optional<ProductVersion> FileVersionOf(const std::wstring& path) {
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), ROOT_BLOCK, reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    return static_cast<ProductVersion>(fixed->dwFileVersionMS) << (2 * PART_BITS) |
           fixed->dwFileVersionLS;
}

std::wstring VersionText(ProductVersion version) {
    std::wstring text;
    for (int part = PARTS - 1; part >= 0; --part) {
        text += std::to_wstring((version >> (part * PART_BITS)) & PART_MASK);
        text += part > 0 ? L"." : L"";
    }
    return text;
}
