#pragma once
// How a fuzz target reports a broken property: the description on stderr, then abort, which
// libFuzzer treats as a crash and keeps the input of.

#include <cstdio>
#include <cstdlib>
#include <string>

inline void RequireProperties(const std::string& violation) {
    if (!violation.empty()) {
        std::fprintf(stderr, "property violated: %s\n", violation.c_str());
        std::abort();
    }
}
