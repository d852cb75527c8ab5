// The input is the text of an ISO 6709 record.
#include "tests/fuzz/fuzz_property.h"
#include "tests/fuzz/iso6709_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(CheckIso6709Text(data, size));
    return 0;
}
