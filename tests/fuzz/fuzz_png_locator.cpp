// The input is a whole file read as a PNG file: the container walk, then the TIFF reader.
#include "tests/fuzz/container_properties.h"
#include "tests/fuzz/fuzz_property.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(CheckContainerReading(data, size, FileKind::PNG).violation);
    return 0;
}
