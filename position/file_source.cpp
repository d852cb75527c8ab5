// The file calls behind every reader: direct ones for the JPEG and TIFF readings, and a few
// read-ahead blocks for the containers, each filled by one positioned ReadFile.
#include "position/file_source.h"

#include "common/status.h"

namespace {

// With its high part a distance is a signed 64-bit number: nothing at or beyond 2^63 is a
// position, and a positioned read there would be taken for one of the special offsets.
constexpr uint64_t FARTHEST = uint64_t{INT64_MAX};

// A block that holds count bytes from position.
bool Holds(uint64_t start, DWORD length, uint64_t position, DWORD count) {
    return position >= start && position - start <= length && count <= length - (position - start);
}

}  // namespace

uint64_t FileSource::Position() {
    if (access_ == FileAccess::READ_AHEAD) {
        return position_;
    }
    LONG high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(file_, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        return UINT64_MAX;
    }
    return uint64_t{static_cast<uint32_t>(high)} << 32 | low;
}

// A low part of all ones is a position too, so only the error code tells a failure.
Status FileSource::MoveTo(uint64_t position) {
    if (position > FARTHEST) {
        return RESULT_NO_EXIF;
    }
    if (access_ == FileAccess::READ_AHEAD) {
        position_ = position;
        return RESULT_DONE;
    }
    LONG high = static_cast<LONG>(position >> 32);
    SetLastError(NO_ERROR);
    if (SetFilePointer(file_, static_cast<LONG>(static_cast<uint32_t>(position)), &high,
                       FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        return LastErrorStatus();
    }
    return RESULT_DONE;
}

Status FileSource::Skip(uint32_t bytes) {
    if (access_ == FileAccess::READ_AHEAD) {
        return bytes > FARTHEST - position_ ? RESULT_NO_EXIF : MoveTo(position_ + bytes);
    }
    if (SetFilePointer(file_, static_cast<LONG>(bytes), nullptr, FILE_CURRENT) ==
        INVALID_SET_FILE_POINTER) {
        return LastErrorStatus();
    }
    return RESULT_DONE;
}

Status FileSource::Size(uint64_t* size) {
    if (sizeKnown_) {
        *size = size_;
        return RESULT_DONE;
    }
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file_, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return LastErrorStatus();
    }
    *size = uint64_t{high} << 32 | low;
    // Direct access asks every time, as the JPEG and TIFF readings always have.
    if (access_ == FileAccess::READ_AHEAD) {
        size_ = *size;
        sizeKnown_ = true;
    }
    return RESULT_DONE;
}

Status FileSource::Read(BYTE* buffer, DWORD count) {
    if (access_ == FileAccess::DIRECT) {
        return ReadDirect(buffer, count);
    }
    if (count == 0) {
        return RESULT_DONE;
    }
    const Block* block = nullptr;
    const Status status = FindBlock(count, &block);
    if (status != RESULT_DONE) {
        return status;
    }
    CopyMemory(buffer, block->bytes + (position_ - block->start), count);
    position_ += count;
    return RESULT_DONE;
}

Status FileSource::ReadDirect(BYTE* buffer, DWORD count) {
    DWORD received = 0;
    if (!ReadFile(file_, buffer, count, &received, nullptr)) {
        return LastErrorStatus();
    }
    return received < count ? RESULT_NO_EXIF : RESULT_DONE;
}

// The block that holds count bytes at the position, read now when no block does. Nothing at
// or past the end of the file is asked for: those bytes are not there.
Status FileSource::FindBlock(DWORD count, const Block** block) {
    uint64_t size = 0;
    const Status known = Size(&size);
    if (known != RESULT_DONE) {
        return known;
    }
    if (count > READ_AHEAD_BLOCK || position_ > size || count > size - position_) {
        return RESULT_NO_EXIF;
    }
    for (const Block& held : blocks_) {
        if (Holds(held.start, held.length, position_, count)) {
            *block = &held;
            return RESULT_DONE;
        }
    }
    Block* fresh = &blocks_[nextBlock_];
    nextBlock_ = (nextBlock_ + 1) % READ_AHEAD_BLOCKS;
    const uint64_t left = size - position_;
    const Status status =
        FillBlock(fresh, left < READ_AHEAD_BLOCK ? static_cast<DWORD>(left) : READ_AHEAD_BLOCK);
    if (status != RESULT_DONE) {
        return status;
    }
    *block = fresh;
    return count <= fresh->length ? RESULT_DONE : RESULT_NO_EXIF;
}

// One positioned read of a block from the position, up to the file's end. A file cut short
// since its size was asked answers fewer bytes, or ERROR_HANDLE_EOF on a synchronous handle.
Status FileSource::FillBlock(Block* block, DWORD length) {
    block->start = position_;
    block->length = 0;
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position_);
    at.OffsetHigh = static_cast<DWORD>(position_ >> 32);
    DWORD received = 0;
    if (!ReadFile(file_, block->bytes, length, &received, &at)) {
        return GetLastError() == ERROR_HANDLE_EOF ? RESULT_NO_EXIF : LastErrorStatus();
    }
    block->length = received;
    return RESULT_DONE;
}
