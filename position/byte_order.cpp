// The four byte-order readers; b0 is the byte that comes first in the file.
#include "position/quoriel_reader.h"

uint16_t CQuorielReader::ReadWordIntel(const BYTE* b) const {
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t CQuorielReader::ReadDwordIntel(const BYTE* b) const {
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

uint16_t CQuorielReader::ReadWordMotorola(const BYTE* b) const {
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

uint32_t CQuorielReader::ReadDwordMotorola(const BYTE* b) const {
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}
