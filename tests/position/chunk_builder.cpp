#include "tests/position/chunk_builder.h"

#include <iterator>

namespace {

constexpr size_t FOURCC_SIZE = 4;
constexpr uint32_t FORM_TYPE_SIZE = 4;
const uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

void Append(Bytes& bytes, const void* data, size_t size) {
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
}

void AppendLittle32(Bytes& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void AppendBig32(Bytes& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// The CRC-32 of PNG (and zlib), bit by bit: test files are small.
uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
        }
    }
    return ~crc;
}

}  // namespace

Bytes ExifIdentifier() {
    return {'E', 'x', 'i', 'f', 0, 0};
}

Bytes RiffChunkHeader(const char* fourcc, uint32_t size) {
    Bytes bytes;
    Append(bytes, fourcc, FOURCC_SIZE);
    AppendLittle32(bytes, size);
    return bytes;
}

Bytes RiffChunk(const char* fourcc, const Bytes& payload) {
    Bytes bytes = RiffChunkHeader(fourcc, static_cast<uint32_t>(payload.size()));
    Append(bytes, payload.data(), payload.size());
    if (payload.size() % 2 != 0) {
        bytes.push_back(0);
    }
    return bytes;
}

Bytes WebpWithRiffSize(uint32_t riffSize, const std::vector<Bytes>& chunks) {
    Bytes bytes = RiffChunkHeader("RIFF", riffSize);
    Append(bytes, "WEBP", FORM_TYPE_SIZE);
    const Bytes body = Concat(chunks);
    Append(bytes, body.data(), body.size());
    return bytes;
}

Bytes Webp(const std::vector<Bytes>& chunks) {
    return WebpWithRiffSize(static_cast<uint32_t>(FORM_TYPE_SIZE + Concat(chunks).size()), chunks);
}

Bytes Vp8lChunk() {
    // Signature byte, a 1x1 size and a few bytes of coded pixels.
    return RiffChunk("VP8L", {0x2F, 0x00, 0x00, 0x00, 0x00, 0x07, 0x10, 0x11, 0x88, 0x88});
}

Bytes PngChunkHeader(const char* type, uint32_t length) {
    Bytes bytes;
    AppendBig32(bytes, length);
    Append(bytes, type, FOURCC_SIZE);
    return bytes;
}

Bytes PngChunk(const char* type, const Bytes& data) {
    Bytes bytes = PngChunkHeader(type, static_cast<uint32_t>(data.size()));
    Append(bytes, data.data(), data.size());
    const size_t typeAt = bytes.size() - data.size() - FOURCC_SIZE;
    AppendBig32(bytes, Crc32(bytes.data() + typeAt, FOURCC_SIZE + data.size()));
    return bytes;
}

Bytes Png(const std::vector<Bytes>& chunks) {
    Bytes bytes(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE));
    const Bytes body = Concat(chunks);
    Append(bytes, body.data(), body.size());
    return bytes;
}

Bytes PngIhdr() {
    // Width 1, height 1, bit depth 8, greyscale, deflate, adaptive filtering, no interlace.
    return PngChunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0});
}

Bytes PngIdat(size_t dataSize) {
    return PngChunk("IDAT", Bytes(dataSize, 0x5A));
}

Bytes PngIend() {
    return PngChunk("IEND", {});
}
