#include "tests/fuzz/reading_properties.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

#include "position/gps_reading.h"
#include "tests/fuzz/expansion_check.h"
#include "tests/fuzz/raw_magic_check.h"
#include "tests/native/memory_file.h"

namespace {

constexpr uint32_t SOI_SIZE = 2;
constexpr uint32_t SEGMENT_HEADER_SIZE = 4;
constexpr uint32_t LENGTH_FIELD_SIZE = 2;
constexpr uint32_t EXIF_ID_SIZE = 6;
constexpr uint8_t EXIF_ID[EXIF_ID_SIZE] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint32_t APP1_OVERHEAD = LENGTH_FIELD_SIZE + EXIF_ID_SIZE;
constexpr uint32_t LARGEST_SEGMENT_LENGTH = 0xFFFF;

constexpr uint8_t MARKER_PREFIX = 0xFF;
constexpr uint8_t MARKER_SOI = 0xD8;
constexpr uint8_t MARKER_SOS = 0xDA;
constexpr uint8_t MARKER_APP1 = 0xE1;

// The TIFF reader's reads: header, directory count, entry, RATIONAL triple.
constexpr uint32_t TIFF_HEADER_SIZE = 8;
constexpr uint32_t TIFF_READ_SIZES[] = {TIFF_HEADER_SIZE, 2, 12, 24};

// SOI, the APP1 header and the identifier in front of TIFF data wrapped into a JPEG file.
constexpr uint32_t WRAPPED_TIFF_START = SOI_SIZE + SEGMENT_HEADER_SIZE + EXIF_ID_SIZE;
constexpr size_t WRAPPED_PREFIX_READS = 3;

// Every code; hemisphere texts that share nothing with a number, one empty and one longer
// than a code, so that the size pass both gives back and adds room.
constexpr const WCHAR* EVERY_CODE = L"x@AD|@Ad|@AM|@Am|@AS|@As|@AH|@OD|@Od|@OM|@Om|@OS|@Os|@OH";
constexpr const WCHAR* NORTH = L"N";
constexpr const WCHAR* SOUTH = L"\u5357\u7def";
constexpr const WCHAR* EAST = L"";
constexpr const WCHAR* WEST = L"West";

// Where the segment walk leads when no read may follow.
constexpr int64_t NOWHERE = -1;

struct Window {
    uint64_t start;
    uint64_t length;
};

uint64_t EndOf(const ReadRecord& read) {
    return uint64_t{read.offset} + read.size;
}

std::string Describe(const std::string& what, size_t index, const ReadRecord& read) {
    return what + " (read " + std::to_string(index) + " of " + std::to_string(read.size) +
           " bytes at " + std::to_string(read.offset) + ")";
}

bool IsMarker(const uint8_t* bytes, uint8_t code) {
    return bytes[0] == MARKER_PREFIX && bytes[1] == code;
}

uint32_t SegmentLength(const uint8_t* header) {
    return uint32_t{header[2]} << 8 | header[3];
}

bool SamePosition(const GpsPosition& a, const GpsPosition& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude && a.north == b.north &&
           a.east == b.east;
}

// The position of the last reading, when it found one.
std::vector<GpsPosition> found;

Status Read(const uint8_t* data, size_t size, FileKind kind) {
    const HANDLE file = OpenMemoryFile(std::vector<uint8_t>(data, data + size));
    CQuorielReader reader;
    GpsPosition position{};
    const Status status = ReadGpsPosition(reader, file, kind, &position);
    found.clear();
    if (status == RESULT_DONE) {
        found.push_back(position);
    }
    return status;
}

std::string CheckOutcome(Status status) {
    if (status == RESULT_DONE || status == RESULT_NO_EXIF || status == RESULT_NO_POSITION) {
        return {};
    }
    return "status " + std::to_string(status);
}

// A short read leaves zeros in the reader's buffer, which must end the reading at once.
std::string CheckShortReads(const MemoryFileState& file, Status status) {
    const std::vector<ReadRecord>& reads = file.reads;
    for (size_t i = 0; i < reads.size(); ++i) {
        const bool shortRead = EndOf(reads[i]) > file.bytes.size();
        if (shortRead && (i + 1 != reads.size() || status != RESULT_NO_EXIF)) {
            return Describe("the reading went on after a read past the end of the file", i,
                            reads[i]);
        }
    }
    return {};
}

std::string CheckTiffReads(const std::vector<ReadRecord>& reads, size_t first,
                           const Window& window) {
    for (size_t i = first; i < reads.size(); ++i) {
        const ReadRecord& read = reads[i];
        if (std::find(std::begin(TIFF_READ_SIZES), std::end(TIFF_READ_SIZES), read.size) ==
            std::end(TIFF_READ_SIZES)) {
            return Describe("a TIFF read of a size the reader never uses", i, read);
        }
        if (read.offset < window.start || EndOf(read) > window.start + window.length) {
            return Describe("a read outside the TIFF data window [" + std::to_string(window.start) +
                                ", " + std::to_string(window.start + window.length) + ")",
                            i, read);
        }
    }
    if (first < reads.size() &&
        (reads[first].offset != window.start || reads[first].size != TIFF_HEADER_SIZE)) {
        return Describe("the TIFF reading does not begin with its header", first, reads[first]);
    }
    return {};
}

bool IsApp1Header(const std::vector<uint8_t>& bytes, const ReadRecord& read) {
    return read.size == SEGMENT_HEADER_SIZE && EndOf(read) <= bytes.size() &&
           IsMarker(bytes.data() + read.offset, MARKER_APP1);
}

// Where the walk leads behind the segment header at read: the identifier right behind an APP1
// header, the next header behind any other segment; nothing behind SOS or a length too short
// for its own field.
int64_t NextWalkOffset(const std::vector<uint8_t>& bytes, const ReadRecord& read) {
    if (EndOf(read) > bytes.size()) {
        return NOWHERE;
    }
    const uint8_t* header = bytes.data() + read.offset;
    const uint32_t length = SegmentLength(header);
    if (IsMarker(header, MARKER_APP1)) {
        return static_cast<int64_t>(EndOf(read));
    }
    if (IsMarker(header, MARKER_SOS) || length < LENGTH_FIELD_SIZE) {
        return NOWHERE;
    }
    return static_cast<int64_t>(EndOf(read) + length - LENGTH_FIELD_SIZE);
}

// The segment walk up to the identifier, whose read index goes to *identifier (the number of
// reads when the walk ended before it).
std::string CheckSegmentWalk(const MemoryFileState& file, size_t* identifier) {
    const std::vector<ReadRecord>& reads = file.reads;
    *identifier = reads.size();
    if (reads.empty() || reads[0].offset != 0 || reads[0].size != SOI_SIZE) {
        return "the reading does not begin with the start-of-image marker";
    }
    const bool startsWithSoi =
        file.bytes.size() >= SOI_SIZE && IsMarker(file.bytes.data(), MARKER_SOI);
    int64_t expected = startsWithSoi ? SOI_SIZE : NOWHERE;
    for (size_t i = 1; i < reads.size(); ++i) {
        const ReadRecord& read = reads[i];
        if (static_cast<int64_t>(read.offset) != expected) {
            return Describe("a read where the segment walk does not lead", i, read);
        }
        if (read.size == EXIF_ID_SIZE) {
            if (!IsApp1Header(file.bytes, reads[i - 1])) {
                return Describe("an identifier read behind no APP1 header", i, read);
            }
            *identifier = i;
            return {};
        }
        if (read.size != SEGMENT_HEADER_SIZE) {
            return Describe("a read of a size the segment walk never uses", i, read);
        }
        expected = NextWalkOffset(file.bytes, read);
    }
    return {};
}

std::string CheckJpegWindow(const MemoryFileState& file, Status status) {
    size_t identifier = 0;
    std::string violation = CheckSegmentWalk(file, &identifier);
    if (!violation.empty()) {
        return violation;
    }
    const std::vector<ReadRecord>& reads = file.reads;
    if (identifier + 1 >= reads.size()) {
        return status == RESULT_NO_EXIF ? std::string()
                                        : "an outcome other than \"no Exif\" without TIFF data";
    }
    const uint8_t* header = file.bytes.data() + reads[identifier - 1].offset;
    const uint32_t length = SegmentLength(header);
    if (length < APP1_OVERHEAD) {
        return "TIFF data read from an APP1 segment too short to hold the identifier";
    }
    if (std::memcmp(file.bytes.data() + reads[identifier].offset, EXIF_ID, EXIF_ID_SIZE) != 0) {
        return "TIFF data read behind an APP1 segment that is not Exif";
    }
    const Window window{EndOf(reads[identifier]), length - APP1_OVERHEAD};
    if (window.start + window.length > file.bytes.size()) {
        return "TIFF data read from an APP1 segment that runs past the end of the file";
    }
    return CheckTiffReads(reads, identifier + 1, window);
}

std::string CheckFoundText() {
    if (found.empty()) {
        return {};
    }
    const HemisphereTexts hemispheres{{NORTH, std::wcslen(NORTH)},
                                      {SOUTH, std::wcslen(SOUTH)},
                                      {EAST, std::wcslen(EAST)},
                                      {WEST, std::wcslen(WEST)}};
    return CheckExpansion(EVERY_CODE, std::wcslen(EVERY_CODE), hemispheres, found[0]);
}

std::string CheckSameInsideJpeg(const uint8_t* data, size_t size, Status status,
                                const std::vector<ReadRecord>& reads,
                                const std::vector<GpsPosition>& positions) {
    if (size > LARGEST_SEGMENT_LENGTH - APP1_OVERHEAD) {
        return {};
    }
    const uint32_t length = static_cast<uint32_t>(size) + APP1_OVERHEAD;
    std::vector<uint8_t> jpeg{MARKER_PREFIX,
                              MARKER_SOI,
                              MARKER_PREFIX,
                              MARKER_APP1,
                              static_cast<uint8_t>(length >> 8),
                              static_cast<uint8_t>(length)};
    jpeg.insert(jpeg.end(), std::begin(EXIF_ID), std::end(EXIF_ID));
    jpeg.insert(jpeg.end(), data, data + size);
    const ReadingVerdict inside = CheckJpegReading(jpeg.data(), jpeg.size());
    if (!inside.violation.empty()) {
        return "inside a JPEG file: " + inside.violation;
    }
    const MemoryFileState& file = MemoryFile();
    if (inside.status != status) {
        return "status " + std::to_string(inside.status) + " inside a JPEG file, " +
               std::to_string(status) + " on its own";
    }
    if (positions.size() != found.size() ||
        (!positions.empty() && !SamePosition(positions[0], found[0]))) {
        return "another position inside a JPEG file than on its own";
    }
    if (file.reads.size() != WRAPPED_PREFIX_READS + reads.size()) {
        return "another number of reads inside a JPEG file than on its own";
    }
    for (size_t i = 0; i < reads.size(); ++i) {
        const ReadRecord& wrapped = file.reads[WRAPPED_PREFIX_READS + i];
        if (wrapped.offset != reads[i].offset + WRAPPED_TIFF_START ||
            wrapped.size != reads[i].size) {
            return Describe("inside a JPEG file another read than on its own", i, reads[i]);
        }
    }
    return {};
}

std::string FirstViolation(std::initializer_list<std::string> violations) {
    for (const std::string& violation : violations) {
        if (!violation.empty()) {
            return violation;
        }
    }
    return {};
}

}  // namespace

ReadingVerdict CheckJpegReading(const uint8_t* data, size_t size) {
    ReadingVerdict verdict;
    verdict.status = Read(data, size, FileKind::JPEG);
    const MemoryFileState& file = MemoryFile();
    verdict.violation =
        FirstViolation({CheckOutcome(verdict.status), CheckShortReads(file, verdict.status),
                        CheckJpegWindow(file, verdict.status), CheckFoundText()});
    return verdict;
}

ReadingVerdict CheckTiffReading(const uint8_t* data, size_t size) {
    ReadingVerdict verdict;
    verdict.status = Read(data, size, FileKind::TIFF);
    const MemoryFileState& file = MemoryFile();
    verdict.violation =
        FirstViolation({CheckOutcome(verdict.status), CheckShortReads(file, verdict.status),
                        CheckTiffReads(file.reads, 0, Window{0, size}), CheckFoundText()});
    if (verdict.violation.empty()) {
        const std::vector<ReadRecord> reads = file.reads;
        const std::vector<GpsPosition> positions = found;
        verdict.violation =
            FirstViolation({CheckSameInsideJpeg(data, size, verdict.status, reads, positions),
                            CheckRawMagics(data, size, verdict.status)});
    }
    return verdict;
}
