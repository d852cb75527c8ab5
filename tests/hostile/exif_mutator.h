#pragma once
// Mutations of real and built photos that aim at the Exif structures: bit flips, truncation,
// and chosen values in segment lengths, directory counts, entry types, counts and offsets.
// Deterministic for a given seed, so a failing mutation can be made again.

#include <cstdint>
#include <random>
#include <vector>

#include "common/file_kind.h"
#include "tests/position/exif_builder.h"

// Where the fields that the readers use lie in one file, found by a walk of the test's own.
struct ExifFields {
    std::vector<size_t> segmentLengths;  // big-endian 16-bit JPEG segment lengths
    std::vector<size_t> words;           // directory counts, entry tags and types
    std::vector<size_t> dwords;          // IFD0 offset, entry counts and values or offsets
    bool intel = true;
    size_t tiffStart = 0;
    size_t tiffLength = 0;
};

ExifFields FindExifFields(const Bytes& file, FileKind kind);

class ExifMutator {
  public:
    explicit ExifMutator(uint32_t seed) : random_(seed) {}

    Bytes Mutate(const Bytes& file, const ExifFields& fields);

  private:
    size_t Pick(size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
    }
    void FlipBits(Bytes& file);
    void Truncate(Bytes& file);
    void SetSegmentLength(Bytes& file, const ExifFields& fields);
    void SetWord(Bytes& file, const ExifFields& fields);
    void SetDword(Bytes& file, const ExifFields& fields);

    std::mt19937 random_;
};
