#pragma once
// Seeds of the three fuzz targets: built with the test data builder, taken from the corpus of
// real photos, and template cases. The seed generator writes them out; the replay test runs
// them directly.

#include <string>
#include <vector>

#include "tests/position/exif_builder.h"

struct Seed {
    std::string name;
    Bytes bytes;
};

std::vector<Seed> BuiltJpegSeeds();
std::vector<Seed> BuiltTiffSeeds();
std::vector<Seed> TemplateSeeds();

// The corpus photos cut behind their first APP1 segment, which is as far as the reader looks,
// so that mutations land where they matter.
std::vector<Seed> CorpusJpegSeeds(const std::string& corpusDirectory);
// The corpus TIFF images, and the TIFF data inside each corpus photo's first APP1 segment.
std::vector<Seed> CorpusTiffSeeds(const std::string& corpusDirectory);

Bytes ReadWholeFile(const std::string& path);
