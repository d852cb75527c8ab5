// The four byte-order readers that the TIFF byte-order mark puts into the reader slots.
#include "position/file_window.h"
#include "position/quoriel_reader.h"

uint16_t CQuorielReader::ReadWordIntel(const BYTE* b) const {
    return LittleEndian16(b);
}

uint32_t CQuorielReader::ReadDwordIntel(const BYTE* b) const {
    return LittleEndian32(b);
}

uint16_t CQuorielReader::ReadWordMotorola(const BYTE* b) const {
    return BigEndian16(b);
}

uint32_t CQuorielReader::ReadDwordMotorola(const BYTE* b) const {
    return BigEndian32(b);
}
