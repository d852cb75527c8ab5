// The input is a template, four hemisphere texts and a position (see template_input.h),
// measured and expanded.
#include "tests/fuzz/fuzz_property.h"
#include "tests/fuzz/template_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(CheckTemplateInput(data, size));
    return 0;
}
