#pragma once
// One file in memory behind the stand-in's file calls, with a log of every read and a count
// of every other call. Far parts may stand at any 64-bit offsets behind the bytes, with zeros
// between, as in a sparse file.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ReadRecord {
    uint64_t offset;
    uint32_t size;       // asked for
    uint32_t delivered;  // what the file had of it
};

// Bytes standing at an offset behind the file's first bytes.
struct MemoryPart {
    uint64_t offset;
    std::vector<uint8_t> bytes;
};

struct MemoryFileState {
    std::vector<uint8_t> bytes;
    std::vector<MemoryPart> far;  // in order of their offsets, none overlapping
    uint64_t position = 0;
    DWORD lastError = 0;
    std::vector<ReadRecord> reads;
    uint32_t seeks = 0;
    uint32_t sizeQueries = 0;

    // The file calls made since the file was opened: reads, seeks and size queries.
    size_t Calls() const { return reads.size() + seeks + sizeQueries; }
    uint64_t Delivered() const {
        uint64_t bytes = 0;
        for (const ReadRecord& read : reads) {
            bytes += read.delivered;
        }
        return bytes;
    }

    uint64_t Size() const {
        return far.empty() ? bytes.size() : far.back().offset + far.back().bytes.size();
    }
    uint8_t At(uint64_t offset) const;
};

// Opens bytes as the one file, with far at farOffset (not before the end of bytes) if given;
// returns its handle.
HANDLE OpenMemoryFile(const std::vector<uint8_t>& bytes, uint64_t farOffset = 0,
                      const std::vector<uint8_t>& far = {});
// Opens bytes with any number of far parts behind them.
HANDLE OpenSparseFile(const std::vector<uint8_t>& bytes, const std::vector<MemoryPart>& far);
MemoryFileState& MemoryFile();
