#pragma once
// One file in memory behind the stand-in's file calls, with a log of every read, and what the
// readers would show or launch.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/gps_position.h"

struct ReadRecord {
    uint32_t offset;
    uint32_t size;
};

struct MemoryFileState {
    std::vector<uint8_t> bytes;
    uint32_t position = 0;
    std::vector<ReadRecord> reads;
    std::vector<std::wstring> boxes;  // texts of the message boxes shown
    std::vector<GpsPosition> launches;
};

// Opens bytes as the one file; returns its handle.
HANDLE OpenMemoryFile(const std::vector<uint8_t>& bytes);
MemoryFileState& MemoryFile();
