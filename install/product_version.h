#pragma once
// Versions as the version resource holds them, major in the highest 16 bits: this setup
// program's own (the build's one version) and the installed module's, for refusing to put an
// older version over a newer one.

#include <optional>
#include <string>

#include <windows.h>

using ProductVersion = ULONGLONG;

ProductVersion ThisVersion();

// The file version of the module at path; nothing when there is no file or no version resource.
std::optional<ProductVersion> FileVersionOf(const std::wstring& path);

// "1.0.0.1".
std::wstring VersionText(ProductVersion version);
