// The input is a whole file read as a TIFF file, the whole file as its window.
#include "tests/fuzz/fuzz_property.h"
#include "tests/fuzz/reading_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(CheckTiffReading(data, size).violation);
    return 0;
}
