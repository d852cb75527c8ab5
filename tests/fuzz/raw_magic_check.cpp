#include "tests/fuzz/raw_magic_check.h"

#include <vector>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"

namespace {

constexpr size_t HEADER_SIZE = 8;
constexpr size_t MAGIC_AT = 2;
constexpr uint8_t ORDER_INTEL = 'I';
constexpr uint8_t ORDER_MOTOROLA = 'M';

constexpr uint16_t TIFF_MAGIC = 42;
constexpr uint16_t ORF_MAGIC = 0x4F52;
constexpr uint16_t ORF_MAGIC_SP = 0x5352;
constexpr uint16_t RW2_MAGIC = 0x0055;

// The kinds read besides TIFF; TIFF_RAW takes 42 alone, as TIFF does.
constexpr FileKind RAW_KINDS[] = {FileKind::ORF, FileKind::RW2, FileKind::TIFF_RAW};

bool Accepts(FileKind kind, uint16_t magic) {
    if (kind == FileKind::ORF) {
        return magic == ORF_MAGIC || magic == ORF_MAGIC_SP;
    }
    return magic == (kind == FileKind::RW2 ? RW2_MAGIC : TIFF_MAGIC);
}

bool SameOutcome(const KindOutcome& a, const KindOutcome& b) {
    if (a.status != b.status) {
        return false;
    }
    return a.status != RESULT_DONE ||
           (a.position.latitude == b.position.latitude &&
            a.position.longitude == b.position.longitude && a.position.north == b.position.north &&
            a.position.east == b.position.east);
}

KindOutcome Read(const std::vector<uint8_t>& bytes, FileKind kind) {
    CQuorielReader reader;
    KindOutcome outcome{};
    outcome.status = ReadGpsPosition(reader, OpenMemoryFile(bytes), kind, &outcome.position);
    return outcome;
}

// The magic word in the header's byte order; false without a header and a byte-order mark.
bool HeaderMagic(const std::vector<uint8_t>& bytes, bool* intel, uint16_t* magic) {
    if (bytes.size() < HEADER_SIZE || bytes[0] != bytes[1] ||
        (bytes[0] != ORDER_INTEL && bytes[0] != ORDER_MOTOROLA)) {
        return false;
    }
    *intel = bytes[0] == ORDER_INTEL;
    const uint16_t first = bytes[MAGIC_AT], second = bytes[MAGIC_AT + 1];
    *magic = *intel ? static_cast<uint16_t>(second << 8 | first)
                    : static_cast<uint16_t>(first << 8 | second);
    return true;
}

std::vector<uint8_t> WithTiffMagic(std::vector<uint8_t> bytes, bool intel) {
    bytes[MAGIC_AT] = intel ? TIFF_MAGIC : 0;
    bytes[MAGIC_AT + 1] = intel ? 0 : TIFF_MAGIC;
    return bytes;
}

}  // namespace

std::string CheckKindOutcome(FileKind kind, uint16_t magic, const KindOutcome& outcome,
                             const KindOutcome& as42) {
    const std::string name = KindName(kind);
    if (!Accepts(kind, magic)) {
        return outcome.status == RESULT_NO_EXIF
                   ? std::string()
                   : name + " read a header of magic " + std::to_string(magic) + " to status " +
                         std::to_string(outcome.status);
    }
    return SameOutcome(outcome, as42) ? std::string()
                                      : name + " gave status " + std::to_string(outcome.status) +
                                            " or another position where TIFF with magic 42 " +
                                            "gave " + std::to_string(as42.status);
}

std::string CheckRawMagics(const uint8_t* data, size_t size, Status tiffStatus) {
    const std::vector<uint8_t> bytes(data, data + size);
    bool intel = false;
    uint16_t magic = 0;
    const bool header = HeaderMagic(bytes, &intel, &magic);
    // Without a header no kind has a magic word to accept: 0 is none of them.
    const uint16_t word = header ? magic : 0;
    if (word != TIFF_MAGIC) {
        std::string violation = CheckKindOutcome(FileKind::TIFF, word, {tiffStatus, {}}, {});
        if (!violation.empty()) {
            return violation;
        }
    }
    KindOutcome as42{};
    bool as42Read = false;
    for (const FileKind kind : RAW_KINDS) {
        if (Accepts(kind, word) && !as42Read) {
            as42 = Read(WithTiffMagic(bytes, intel), FileKind::TIFF);
            as42Read = true;
        }
        std::string violation = CheckKindOutcome(kind, word, Read(bytes, kind), as42);
        if (!violation.empty()) {
            return violation;
        }
    }
    return {};
}
