#include "tests/hostile/exif_mutator.h"

namespace {

constexpr uint8_t MARKER_PREFIX = 0xFF;
constexpr size_t SOI_SIZE = 2;
constexpr size_t EXIF_HEADER = 4 + 6;  // segment header and "Exif\0\0"
constexpr uint16_t GPS_POINTER = 0x8825;
constexpr size_t MAX_ENTRIES_WALKED = 64;

uint16_t Word(const Bytes& b, size_t at, bool intel) {
    return intel ? static_cast<uint16_t>(b[at] | b[at + 1] << 8)
                 : static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

uint32_t Dword(const Bytes& b, size_t at, bool intel) {
    const uint32_t first = Word(b, at, intel);
    const uint32_t second = Word(b, at + 2, intel);
    return intel ? first | second << 16 : first << 16 | second;
}

// Records the fields of the directory at offset; gives the GPS pointer's value, or 0.
uint32_t WalkDirectory(const Bytes& file, ExifFields* fields, uint32_t offset) {
    const size_t start = fields->tiffStart;
    if (offset < 8 || size_t{offset} + 2 > fields->tiffLength) {
        return 0;
    }
    fields->words.push_back(start + offset);
    const uint16_t count = Word(file, start + offset, fields->intel);
    uint32_t gps = 0;
    for (size_t i = 0; i < count && i < MAX_ENTRIES_WALKED; ++i) {
        const size_t entry = start + offset + 2 + i * ENTRY_SIZE;
        if (entry + ENTRY_SIZE > start + fields->tiffLength) {
            break;
        }
        fields->words.push_back(entry);       // tag
        fields->words.push_back(entry + 2);   // type
        fields->dwords.push_back(entry + 4);  // count
        fields->dwords.push_back(entry + 8);  // value or offset
        if (Word(file, entry, fields->intel) == GPS_POINTER) {
            gps = Dword(file, entry + 8, fields->intel);
        }
    }
    return gps;
}

void WalkTiff(const Bytes& file, ExifFields* fields) {
    if (fields->tiffLength < TIFF_HEADER_SIZE) {
        return;
    }
    fields->intel = file[fields->tiffStart] == 'I';
    fields->words.push_back(fields->tiffStart + 2);
    fields->dwords.push_back(fields->tiffStart + 4);
    const uint32_t ifd0 = Dword(file, fields->tiffStart + 4, fields->intel);
    const uint32_t gps = WalkDirectory(file, fields, ifd0);
    if (gps != 0) {
        WalkDirectory(file, fields, gps);
    }
}

}  // namespace

ExifFields FindExifFields(const Bytes& file, FileKind kind) {
    ExifFields fields;
    if (kind == FileKind::TIFF) {
        fields.tiffLength = file.size();
        WalkTiff(file, &fields);
        return fields;
    }
    size_t at = SOI_SIZE;
    while (at + 4 <= file.size() && file[at] == MARKER_PREFIX && file[at + 1] != MARKER_SOS) {
        const size_t length = file[at + 2] << 8 | file[at + 3];
        fields.segmentLengths.push_back(at + 2);
        if (file[at + 1] == MARKER_APP1 && length >= 8 && at + 2 + length <= file.size()) {
            fields.tiffStart = at + EXIF_HEADER;
            fields.tiffLength = length - 8;
            WalkTiff(file, &fields);
            break;
        }
        if (length < 2) {
            break;
        }
        at += 2 + length;
    }
    return fields;
}

Bytes ExifMutator::Mutate(const Bytes& file, const ExifFields& fields) {
    Bytes mutated = file;
    if (mutated.empty()) {
        return mutated;
    }
    switch (Pick(5)) {
        case 0:
            FlipBits(mutated);
            break;
        case 1:
            Truncate(mutated);
            break;
        case 2:
            SetSegmentLength(mutated, fields);
            break;
        case 3:
            SetWord(mutated, fields);
            break;
        default:
            SetDword(mutated, fields);
            break;
    }
    return mutated;
}

// Flips a few bits, mostly in the first kilobytes where the structures are.
void ExifMutator::FlipBits(Bytes& file) {
    const size_t flips = 1 + Pick(8);
    const size_t window = std::min<size_t>(file.size(), 4096);
    for (size_t i = 0; i < flips; ++i) {
        file[Pick(window)] ^= static_cast<uint8_t>(1u << Pick(8));
    }
}

void ExifMutator::Truncate(Bytes& file) {
    file.resize(Pick(std::min<size_t>(file.size(), 4096)));
}

void ExifMutator::SetSegmentLength(Bytes& file, const ExifFields& fields) {
    if (fields.segmentLengths.empty()) {
        return FlipBits(file);
    }
    const size_t at = fields.segmentLengths[Pick(fields.segmentLengths.size())];
    const uint16_t now = static_cast<uint16_t>(file[at] << 8 | file[at + 1]);
    const uint16_t values[] = {0,
                               1,
                               2,
                               7,
                               8,
                               9,
                               0x7FFF,
                               0xFFFF,
                               static_cast<uint16_t>(now - 1),
                               static_cast<uint16_t>(now + 1)};
    const uint16_t value = values[Pick(std::size(values))];
    file[at] = static_cast<uint8_t>(value >> 8);
    file[at + 1] = static_cast<uint8_t>(value);
}

void ExifMutator::SetWord(Bytes& file, const ExifFields& fields) {
    if (fields.words.empty()) {
        return FlipBits(file);
    }
    const size_t at = fields.words[Pick(fields.words.size())];
    const uint16_t now = Word(file, at, fields.intel);
    const uint16_t values[] = {0,
                               1,
                               2,
                               3,
                               4,
                               5,
                               10,
                               0x8825,
                               0xFFFF,
                               static_cast<uint16_t>(now - 1),
                               static_cast<uint16_t>(now + 1)};
    Put16(file, at, values[Pick(std::size(values))],
          fields.intel ? ByteOrder::INTEL : ByteOrder::MOTOROLA);
}

void ExifMutator::SetDword(Bytes& file, const ExifFields& fields) {
    if (fields.dwords.empty()) {
        return FlipBits(file);
    }
    const size_t at = fields.dwords[Pick(fields.dwords.size())];
    const uint32_t now = Dword(file, at, fields.intel);
    const uint32_t length = static_cast<uint32_t>(fields.tiffLength);
    const uint32_t values[] = {0,           1,           2,          3,          7,      8,
                               length - 24, length - 23, length - 4, length - 3, length, 0x7FFFFFFF,
                               0xFFFFFFFF,  now - 1,     now + 1,    now + 24};
    Put32(file, at, values[Pick(std::size(values))],
          fields.intel ? ByteOrder::INTEL : ByteOrder::MOTOROLA);
}
