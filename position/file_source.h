#pragma once
// The one way every reader reaches the file: a position, a checked 64-bit move, the file's whole
// size, and reads that must arrive whole. Two ways to get the bytes behind it:
// - DIRECT: every read and every move is its own system call, the JPEG and TIFF readings exactly
//   as they have always read;
// - READ_AHEAD: reads come from a few blocks of the file, each read in one positioned call the
//   first time a read needs it; moves are positions kept here and make no call. The container
//   walks and the TIFF reader behind them keep their own small reads, served from memory.
// Blocks are read from the position asked for, not from an aligned one, so the bytes read
// depend on where the structures lie relative to each other, never on the file's size.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/status.h"

enum class FileAccess : uint8_t { DIRECT, READ_AHEAD };

// Read-ahead: 4 blocks of 4 KiB, 16 KiB on the stack and never sized by the file. A phone's
// HEIC keeps its meta box, the Exif item and its GPS directory within two or three blocks.
constexpr DWORD READ_AHEAD_BLOCK = 4096;
constexpr uint32_t READ_AHEAD_BLOCKS = 4;

class FileSource {
  public:
    FileSource(HANDLE file, FileAccess access) : file_(file), access_(access) {}
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Where the next read starts; UINT64_MAX when the file cannot tell.
    uint64_t Position();

    // Any position below 2^63. A failed move leaves the position where it was.
    Status MoveTo(uint64_t position);

    // Moves on by bytes from the position, as the JPEG walk passes over a segment.
    Status Skip(uint32_t bytes);

    // The whole size of the file, 4 GiB and beyond; the failure HRESULT when it cannot be told.
    Status Size(uint64_t* size);

    // count bytes (at most READ_AHEAD_BLOCK) into buffer; a read cut short by the end of the
    // file means the structure is not all there. Read-ahead reads nothing at or past the end.
    Status Read(BYTE* buffer, DWORD count);

  private:
    struct Block {
        uint64_t start = 0;
        DWORD length = 0;  // 0: empty
        BYTE bytes[READ_AHEAD_BLOCK];
    };

    Status ReadDirect(BYTE* buffer, DWORD count);
    Status FindBlock(DWORD count, const Block** block);
    Status FillBlock(Block* block, DWORD length);

    HANDLE file_;
    FileAccess access_;
    uint64_t position_ = 0;  // read-ahead only
    uint64_t size_ = 0;
    bool sizeKnown_ = false;
    uint32_t nextBlock_ = 0;
    Block blocks_[READ_AHEAD_BLOCKS];
};

// Reads the whole buffer, zeroed first so that nothing unread is ever used.
template <size_t N>
Status ReadWhole(FileSource& file, BYTE (&buffer)[N]) {
    static_assert(N <= READ_AHEAD_BLOCK, "a read fits one block");
    ZeroMemory(buffer, N);
    return file.Read(buffer, static_cast<DWORD>(N));
}

// The fixed-size read at a position.
template <size_t N>
Status ReadAt(FileSource& file, uint64_t position, BYTE (&buffer)[N]) {
    const Status status = file.MoveTo(position);
    if (status != RESULT_DONE) {
        return status;
    }
    return ReadWhole(file, buffer);
}

// The first count bytes of buffer read at position, the rest zeroed: a record of variable
// length, of which no more than the buffer holds is ever read.
template <size_t N>
Status ReadPartAt(FileSource& file, uint64_t position, BYTE (&buffer)[N], uint32_t count) {
    static_assert(N <= READ_AHEAD_BLOCK, "a read fits one block");
    ZeroMemory(buffer, N);
    if (count > N) {
        return RESULT_NO_EXIF;
    }
    const Status status = file.MoveTo(position);
    if (status != RESULT_DONE) {
        return status;
    }
    return file.Read(buffer, count);
}
