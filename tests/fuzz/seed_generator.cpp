// Writes the seeds of the fuzz targets: seed_generator CORPUS_DIRECTORY OUTPUT_DIRECTORY makes
// jpeg/, tiff/ and template/ under the output directory, one file per seed.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/fuzz/seeds.h"

namespace {

constexpr int ARGUMENT_COUNT = 3;

void Concatenate(std::vector<Seed>* to, std::vector<Seed> from) {
    for (Seed& seed : from) {
        to->push_back(std::move(seed));
    }
}

bool WriteSeeds(const std::filesystem::path& directory, const std::vector<Seed>& seeds) {
    std::filesystem::create_directories(directory);
    for (const Seed& seed : seeds) {
        std::ofstream out(directory / seed.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                  static_cast<std::streamsize>(seed.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", (directory / seed.name).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != ARGUMENT_COUNT) {
        std::fprintf(stderr, "usage: seed_generator CORPUS_DIRECTORY OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::string corpus = argv[1];
    const std::filesystem::path output = argv[2];
    std::vector<Seed> jpeg = BuiltJpegSeeds();
    Concatenate(&jpeg, CorpusJpegSeeds(corpus));
    std::vector<Seed> tiff = BuiltTiffSeeds();
    Concatenate(&tiff, CorpusTiffSeeds(corpus));
    const bool written = WriteSeeds(output / "jpeg", jpeg) && WriteSeeds(output / "tiff", tiff) &&
                         WriteSeeds(output / "template", TemplateSeeds());
    return written ? 0 : 1;
}
