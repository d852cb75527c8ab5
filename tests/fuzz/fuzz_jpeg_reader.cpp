// The input is a whole file read as a JPEG file: the segment walk, then the TIFF reader.
#include "tests/fuzz/fuzz_property.h"
#include "tests/fuzz/reading_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(CheckJpegReading(data, size).violation);
    return 0;
}
