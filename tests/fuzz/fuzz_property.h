#pragma once
// The properties the fuzz targets name in targets.cmake, each a function of the input's bytes,
// and how a target reports a broken one: the description on stderr, then abort, which libFuzzer
// treats as a crash and keeps the input of.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/container_properties.h"
#include "tests/fuzz/iso6709_check.h"
#include "tests/fuzz/reading_properties.h"
#include "tests/fuzz/template_input.h"

// The container reading of one kind, under a name of its own for its target.
template <FileKind kind>
ReadingVerdict CheckContainerReadingOf(const uint8_t* data, size_t size) {
    return CheckContainerReading(data, size, kind);
}
constexpr auto CheckHeifReading = CheckContainerReadingOf<FileKind::HEIF>;
constexpr auto CheckWebpReading = CheckContainerReadingOf<FileKind::WEBP>;
constexpr auto CheckPngReading = CheckContainerReadingOf<FileKind::PNG>;
constexpr auto CheckVideoReading = CheckContainerReadingOf<FileKind::VIDEO>;
constexpr auto CheckCr3Reading = CheckContainerReadingOf<FileKind::CR3>;

// The broken property, whether the check gives it alone or beside the reading's outcome.
inline const std::string& ViolationOf(const std::string& violation) {
    return violation;
}
inline const std::string& ViolationOf(const ReadingVerdict& verdict) {
    return verdict.violation;
}

inline void RequireProperties(const std::string& violation) {
    if (!violation.empty()) {
        std::fprintf(stderr, "property violated: %s\n", violation.c_str());
        std::abort();
    }
}
