#pragma once
// A block of TIFF data in the file, checked by subtraction so that nothing wraps, and the
// byte-order readers every structure is decoded with. The block's offsets are 32-bit, as the TIFF
// offsets in it; its start may lie anywhere in the file.

#include <windows.h>

#include <cstdint>

// "Exif" and two zero bytes: in front of the TIFF header in a JPEG's APP1 segment, and in the
// EXIF chunk of some WebP writers.
constexpr DWORD EXIF_ID_SIZE = 6;
constexpr BYTE EXIF_ID[EXIF_ID_SIZE] = {0x45, 0x78, 0x69, 0x66, 0x00, 0x00};

// Every offset inside the block is relative to start, and no read may leave it.
struct FileWindow {
    uint64_t start;
    uint32_t length;

    // Whether n bytes from the file position lie inside.
    bool Holds(uint64_t position, uint32_t n) const {
        if (position < start || position - start > length) {
            return false;
        }
        return n <= length - static_cast<uint32_t>(position - start);
    }

    // Whether n bytes from offset, relative to start, lie inside.
    bool HoldsOffset(uint32_t offset, uint32_t n) const {
        return offset <= length && n <= length - offset;
    }
};

// b[0] is the byte that comes first in the file.
inline uint16_t LittleEndian16(const BYTE* b) {
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

inline uint32_t LittleEndian32(const BYTE* b) {
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

inline uint16_t BigEndian16(const BYTE* b) {
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

inline uint32_t BigEndian32(const BYTE* b) {
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}

inline uint64_t BigEndian64(const BYTE* b) {
    return uint64_t{BigEndian32(b)} << 32 | BigEndian32(b + 4);
}
