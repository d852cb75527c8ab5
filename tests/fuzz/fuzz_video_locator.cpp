// The input is a whole file read as a video: the box walk to the movie box and its location
// records.
#include "tests/fuzz/container_properties.h"
#include "tests/fuzz/fuzz_property.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RequireProperties(CheckContainerReading(data, size, FileKind::VIDEO).violation);
    return 0;
}
