#include "tests/fuzz/container_properties.h"

#include <string>
#include <vector>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"

namespace {

std::string Describe(const std::string& what, size_t index, const ReadRecord& read) {
    return what + " (read " + std::to_string(index) + " of " + std::to_string(read.size) +
           " bytes at " + std::to_string(read.offset) + ")";
}

std::string CheckReads(const MemoryFileState& file, Status status) {
    const std::vector<ReadRecord>& reads = file.reads;
    if (reads.size() > CONTAINER_READ_LIMIT) {
        return "the walk made " + std::to_string(reads.size()) + " reads";
    }
    for (size_t i = 0; i < reads.size(); ++i) {
        const uint64_t end = uint64_t{reads[i].offset} + reads[i].size;
        if (reads[i].offset > file.bytes.size()) {
            return Describe("a read past the end of the file", i, reads[i]);
        }
        if (end > file.bytes.size() && (i + 1 != reads.size() || status != RESULT_NO_EXIF)) {
            return Describe("the reading went on after a read past the end of the file", i,
                            reads[i]);
        }
    }
    return {};
}

// A video's reads and location; position is zero unless one was found.
std::string CheckVideoReading(const MemoryFileState& file, const GpsPosition& position) {
    uint64_t total = 0;
    for (size_t i = 0; i < file.reads.size(); ++i) {
        const ReadRecord& read = file.reads[i];
        if (read.offset > file.bytes.size() || read.size > file.bytes.size() - read.offset) {
            return Describe("a video read past the end of the file", i, read);
        }
        if (read.size > VIDEO_LONGEST_READ) {
            return Describe("a video read longer than any record buffer", i, read);
        }
        total += read.size;
    }
    if (total > VIDEO_READ_BYTES_LIMIT) {
        return "the video reading read " + std::to_string(total) + " bytes";
    }
    if (position.latitude > LATITUDE_LIMIT || position.longitude > LONGITUDE_LIMIT) {
        return "a video location of " + std::to_string(position.latitude) + " / " +
               std::to_string(position.longitude) + " micro-arcseconds";
    }
    return {};
}

// The locator alone on the same bytes gives the block and the number of its own reads.
std::string CheckTiffReadsInBlock(const std::vector<uint8_t>& bytes, FileKind kind,
                                  const std::vector<ReadRecord>& reads) {
    FileSource file(OpenMemoryFile(bytes), FileAccess::DIRECT);
    FileWindow window{};
    if (LocateTiffBlock(file, kind, &window) != RESULT_DONE) {
        return {};
    }
    const size_t locatorReads = MemoryFile().reads.size();
    if (window.start + window.length > bytes.size()) {
        return "a block that runs past the end of the file";
    }
    for (size_t i = locatorReads; i < reads.size(); ++i) {
        const uint64_t end = uint64_t{reads[i].offset} + reads[i].size;
        if (reads[i].offset < window.start || end > window.start + window.length) {
            return Describe("a TIFF read outside the located block", i, reads[i]);
        }
    }
    return {};
}

bool SamePosition(const GpsPosition& a, const GpsPosition& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude && a.north == b.north &&
           a.east == b.east;
}

// The same bytes through read-ahead blocks, against the reading call by call.
std::string CheckReadAhead(const std::vector<uint8_t>& bytes, FileKind kind, Status direct,
                           const GpsPosition& directPosition, size_t directReads) {
    FileSource file(OpenMemoryFile(bytes), FileAccess::READ_AHEAD);
    CQuorielReader reader;
    GpsPosition position{};
    const Status status = ReadGpsPosition(reader, file, kind, &position);
    const MemoryFileState& calls = MemoryFile();
    if (status != direct || (status == RESULT_DONE && !SamePosition(position, directPosition))) {
        return "read-ahead gave status " + std::to_string(status) + " where reading call by " +
               "call gave " + std::to_string(direct) + ", or another position";
    }
    if (calls.seeks != 0 || calls.sizeQueries > CONTAINER_SIZE_QUERIES) {
        return "read-ahead made " + std::to_string(calls.seeks) + " seeks and " +
               std::to_string(calls.sizeQueries) + " size queries";
    }
    for (size_t i = 0; i < calls.reads.size(); ++i) {
        const ReadRecord& read = calls.reads[i];
        if (read.size == 0 || read.size > READ_AHEAD_BLOCK || read.offset >= bytes.size() ||
            read.size > bytes.size() - read.offset) {
            return Describe("a read-ahead read that is not a block inside the file", i, read);
        }
    }
    if (calls.reads.size() > directReads) {
        return "read-ahead made " + std::to_string(calls.reads.size()) + " reads, reading call " +
               "by call " + std::to_string(directReads);
    }
    return {};
}

}  // namespace

ReadingVerdict CheckContainerReading(const uint8_t* data, size_t size, FileKind kind) {
    const std::vector<uint8_t> bytes(data, data + size);
    CQuorielReader reader;
    GpsPosition position{};
    ReadingVerdict verdict;
    FileSource direct(OpenMemoryFile(bytes), FileAccess::DIRECT);
    verdict.status = ReadGpsPosition(reader, direct, kind, &position);
    if (verdict.status != RESULT_DONE && verdict.status != RESULT_NO_EXIF &&
        verdict.status != RESULT_NO_POSITION) {
        verdict.violation = "status " + std::to_string(verdict.status);
        return verdict;
    }
    const MemoryFileState file = MemoryFile();
    verdict.violation = CheckReads(file, verdict.status);
    if (verdict.violation.empty() && kind == FileKind::VIDEO) {
        verdict.violation = CheckVideoReading(file, position);
    } else if (verdict.violation.empty()) {
        verdict.violation = CheckTiffReadsInBlock(bytes, kind, file.reads);
    }
    if (verdict.violation.empty()) {
        verdict.violation =
            CheckReadAhead(bytes, kind, verdict.status, position, file.reads.size());
    }
    return verdict;
}
