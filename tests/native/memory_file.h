#pragma once
// One file in memory behind the stand-in's file calls, with a log of every read.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ReadRecord {
    uint32_t offset;
    uint32_t size;
};

struct MemoryFileState {
    std::vector<uint8_t> bytes;
    uint32_t position = 0;
    std::vector<ReadRecord> reads;
};

// Opens bytes as the one file; returns its handle.
HANDLE OpenMemoryFile(const std::vector<uint8_t>& bytes);
MemoryFileState& MemoryFile();
