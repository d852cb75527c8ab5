#pragma once
// Builds WebP (RIFF) and PNG files chunk by chunk, so that each test case reads as the chunks
// it holds. The TIFF blocks come from exif_builder.h.

#include <cstdint>
#include <vector>

#include "tests/position/exif_builder.h"

// "Exif" and two zero bytes, which some writers put in front of the TIFF header.
Bytes ExifIdentifier();

// RIFF chunk: fourcc, little-endian payload size, payload, one pad byte after an odd payload.
Bytes RiffChunk(const char* fourcc, const Bytes& payload);
// A chunk header with a size of one's own choosing and nothing behind it.
Bytes RiffChunkHeader(const char* fourcc, uint32_t size);
// "RIFF", the size of what follows it, "WEBP" and the chunks.
Bytes Webp(const std::vector<Bytes>& chunks);
// The same with a RIFF size of one's own choosing.
Bytes WebpWithRiffSize(uint32_t riffSize, const std::vector<Bytes>& chunks);
// A VP8L chunk with a tiny image's worth of bytes.
Bytes Vp8lChunk();

// PNG chunk: big-endian data length, type, data, CRC of type and data.
Bytes PngChunk(const char* type, const Bytes& data);
// A chunk header with a length of one's own choosing and nothing behind it.
Bytes PngChunkHeader(const char* type, uint32_t length);
// The signature and the chunks.
Bytes Png(const std::vector<Bytes>& chunks);
// IHDR of a 1x1 greyscale image, an IDAT of dataSize bytes, and IEND.
Bytes PngIhdr();
Bytes PngIdat(size_t dataSize);
Bytes PngIend();
