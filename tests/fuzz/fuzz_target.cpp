// One fuzz target: the input must keep the property that QUORIEL_FUZZ_PROPERTY names, as its
// entry in targets.cmake says.
#include "tests/fuzz/fuzz_property.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(ViolationOf(QUORIEL_FUZZ_PROPERTY(data, size)));
    return 0;
}
