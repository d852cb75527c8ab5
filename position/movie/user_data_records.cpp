// The records of the movie's user data: ©xyz with its ISO 6709 text, and the 3GPP loci box
// with fixed-point degrees behind a name of its own length. Each is read into a stack buffer at
// most; nothing outside the record's box is read.
#include "position/movie/user_data_records.h"

#include "position/movie/iso6709.h"

namespace {

// ©xyz: 2 text length | 2 language | text.
constexpr uint32_t TEXT_LENGTH_SIZE = 2;
constexpr uint32_t LANGUAGE_SIZE = 2;
// The longest ISO 6709 text of decimal degrees with an altitude and a CRS name fits many times.
constexpr uint32_t TEXT_BYTES = 128;

// loci: 4 version/flags | 2 pad bit and language | name, NUL-terminated | 1 role |
// 4 longitude | 4 latitude | 4 altitude, signed 16.16 degrees | body and notes.
constexpr uint8_t LOCI_VERSION = 0;
constexpr uint32_t ROLE_SIZE = 1;
constexpr uint32_t FIXED_SIZE = 4;
constexpr uint32_t LONGITUDE_FIELD = 0;
constexpr uint32_t LATITUDE_FIELD = 4;
constexpr uint32_t COORDINATES_SIZE = 3 * FIXED_SIZE;
// Names of places are short; a name not ended inside this many bytes is taken for no record.
constexpr uint32_t LOCI_BYTES = 256;
// A name in UTF-16 starts with its byte-order mark and ends with a 16-bit NUL.
constexpr BYTE UTF16_MARK[] = {0xFE, 0xFF};
constexpr uint64_t FIXED_ONE = 65536;

// The offset behind the NUL that ends the name starting at offset; false when none does.
bool SkipName(const BYTE* bytes, uint32_t count, uint32_t* offset) {
    const bool wide = count - *offset >= sizeof UTF16_MARK && bytes[*offset] == UTF16_MARK[0] &&
                      bytes[*offset + 1] == UTF16_MARK[1];
    const uint32_t unit = wide ? 2 : 1;
    for (uint32_t at = *offset + (wide ? sizeof UTF16_MARK : 0); count - at >= unit; at += unit) {
        if (bytes[at] == 0 && bytes[at + unit - 1] == 0) {
            *offset = at + unit;
            return true;
        }
    }
    return false;
}

// A signed 16.16 number of degrees, truncated to micro-arcseconds; at most 2^31 units, so the
// product stays below 2^63.
bool FixedAngle(const BYTE* field, uint64_t limit, uint64_t* angle, bool* positive) {
    const int32_t value = static_cast<int32_t>(BigEndian32(field));
    const uint64_t units = value < 0 ? uint64_t{0} - static_cast<uint64_t>(int64_t{value})
                                     : static_cast<uint64_t>(value);
    *angle = units * MICRO_ARCSECONDS_PER_DEGREE / FIXED_ONE;
    *positive = value >= 0;
    return *angle <= limit;
}

}  // namespace

Status ReadIso6709At(FileSource& file, uint64_t offset, uint64_t length, GpsPosition* position) {
    BYTE text[TEXT_BYTES];
    const uint32_t count = length < TEXT_BYTES ? static_cast<uint32_t>(length) : TEXT_BYTES;
    const Status status = ReadPartAt(file, offset, text, count);
    if (status != RESULT_DONE) {
        return NoLocationWhenShort(status);
    }
    return ParseIso6709(reinterpret_cast<const char*>(text), count, count == length, position)
               ? RESULT_DONE
               : RESULT_NO_POSITION;
}

Status ReadXyzRecord(FileSource& file, const Box& xyz, GpsPosition* position) {
    FieldCursor cursor = PayloadOf(xyz);
    uint64_t length = 0;
    uint64_t language = 0;
    const Status status =
        ReadFields(file, &cursor, {{TEXT_LENGTH_SIZE, &length}, {LANGUAGE_SIZE, &language}});
    if (status != RESULT_DONE) {
        return NoLocationWhenShort(status);
    }
    if (length > cursor.end - cursor.position) {
        return RESULT_NO_POSITION;
    }
    return ReadIso6709At(file, cursor.position, length, position);
}

Status ReadLociRecord(FileSource& file, const Box& loci, GpsPosition* position) {
    Box box = loci;
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &box, &version, &flags);
    if (status != RESULT_DONE) {
        return NoLocationWhenShort(status);
    }
    if (version != LOCI_VERSION) {
        return RESULT_NO_POSITION;
    }
    const uint64_t room = box.end - box.payload;
    const uint32_t count = room < LOCI_BYTES ? static_cast<uint32_t>(room) : LOCI_BYTES;
    BYTE bytes[LOCI_BYTES];
    status = ReadPartAt(file, box.payload, bytes, count);
    if (status != RESULT_DONE) {
        return NoLocationWhenShort(status);
    }
    uint32_t at = LANGUAGE_SIZE;
    if (count < at || !SkipName(bytes, count, &at) || count - at < ROLE_SIZE + COORDINATES_SIZE) {
        return RESULT_NO_POSITION;
    }
    const BYTE* coordinates = bytes + at + ROLE_SIZE;
    GpsPosition read{};
    if (!FixedAngle(coordinates + LATITUDE_FIELD, LATITUDE_LIMIT, &read.latitude, &read.north) ||
        !FixedAngle(coordinates + LONGITUDE_FIELD, LONGITUDE_LIMIT, &read.longitude, &read.east)) {
        return RESULT_NO_POSITION;
    }
    *position = read;
    return RESULT_DONE;
}
