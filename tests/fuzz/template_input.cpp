#include "tests/fuzz/template_input.h"

#include <algorithm>

#include "common/text.h"
#include "tests/fuzz/expansion_check.h"

namespace {

constexpr size_t LATITUDE_AT = 0;
constexpr size_t LONGITUDE_AT = 8;
constexpr size_t FLAGS_AT = 16;
constexpr size_t LONGER_BY_AT = 17;
constexpr size_t HEADER_SIZE = LONGER_BY_AT + HEMISPHERE_COUNT;
constexpr size_t VALUE_SIZE = 8;
constexpr size_t UNIT_SIZE = 2;
constexpr int BITS_PER_BYTE = 8;

constexpr uint8_t FLAG_NORTH = 1;
constexpr uint8_t FLAG_EAST = 2;
constexpr uint8_t FLAG_LONGER = 4;

constexpr WCHAR FIELD_SEPARATOR = 0xFFFF;
constexpr size_t FIELD_COUNT = 1 + HEMISPHERE_COUNT;
constexpr WCHAR SPACE = L' ';

uint64_t LittleEndian64(const uint8_t* bytes) {
    uint64_t value = 0;
    for (size_t i = VALUE_SIZE; i-- > 0;) {
        value = value << BITS_PER_BYTE | bytes[i];
    }
    return value;
}

void PutLittleEndian64(std::vector<uint8_t>& bytes, size_t at, uint64_t value) {
    for (size_t i = 0; i < VALUE_SIZE; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (i * BITS_PER_BYTE));
    }
}

// The fields of the text after the header, each as its UTF-16 units.
std::array<std::wstring, FIELD_COUNT> SplitFields(const uint8_t* text, size_t size) {
    std::array<std::wstring, FIELD_COUNT> fields;
    size_t field = 0;
    for (size_t i = 0; i + UNIT_SIZE <= size; i += UNIT_SIZE) {
        const WCHAR unit = static_cast<WCHAR>(text[i] | text[i + 1] << BITS_PER_BYTE);
        if (unit == FIELD_SEPARATOR && field + 1 < FIELD_COUNT) {
            ++field;
        } else {
            fields[field] += unit;
        }
    }
    return fields;
}

// The text and one NUL behind it, in a buffer of exactly that size.
std::vector<WCHAR> Terminated(const std::wstring& text) {
    std::vector<WCHAR> buffer(text.size() + 1);
    std::copy(text.begin(), text.end(), buffer.begin());
    buffer.back() = L'\0';
    return buffer;
}

void PutUnit(std::vector<uint8_t>& bytes, WCHAR unit) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> BITS_PER_BYTE));
}

}  // namespace

HemisphereTexts TemplateCase::Hemispheres() const {
    const auto view = [this](size_t i) {
        return StoredText{hemisphereTexts[i].data(), hemisphereLengths[i]};
    };
    return HemisphereTexts{view(0), view(1), view(2), view(3)};
}

TemplateCase DecodeTemplateCase(const uint8_t* data, size_t size) {
    uint8_t header[HEADER_SIZE] = {};
    std::copy(data, data + std::min(size, HEADER_SIZE), header);
    const bool hasText = size > HEADER_SIZE;
    const std::array<std::wstring, FIELD_COUNT> fields =
        SplitFields(hasText ? data + HEADER_SIZE : data, hasText ? size - HEADER_SIZE : 0);

    TemplateCase c;
    const uint8_t flags = header[FLAGS_AT];
    c.position =
        GpsPosition{LittleEndian64(header + LATITUDE_AT), LittleEndian64(header + LONGITUDE_AT),
                    (flags & FLAG_NORTH) != 0, (flags & FLAG_EAST) != 0};
    // As the loader gives it: the stored length ends at the first NUL, the template starts
    // behind the leading spaces.
    c.stored = Terminated(fields[0]);
    c.storedLength = LengthBeforeNul(c.stored.data(), c.stored.size());
    while (c.start < c.storedLength && c.stored[c.start] == SPACE) {
        ++c.start;
    }
    for (size_t i = 0; i < HEMISPHERE_COUNT; ++i) {
        c.hemisphereTexts[i] = Terminated(fields[1 + i]);
        c.hemisphereLengths[i] =
            LengthBeforeNul(c.hemisphereTexts[i].data(), c.hemisphereTexts[i].size());
        if (flags & FLAG_LONGER) {
            c.hemisphereLengths[i] += size_t{header[LONGER_BY_AT + i]} + 1;
        }
    }
    return c;
}

std::vector<uint8_t> EncodeTemplateCase(const std::wstring& storedTemplate,
                                        const std::array<std::wstring, HEMISPHERE_COUNT>& texts,
                                        const GpsPosition& position, unsigned longerBy) {
    std::vector<uint8_t> bytes(HEADER_SIZE);
    PutLittleEndian64(bytes, LATITUDE_AT, position.latitude);
    PutLittleEndian64(bytes, LONGITUDE_AT, position.longitude);
    bytes[FLAGS_AT] =
        static_cast<uint8_t>((position.north ? FLAG_NORTH : 0) | (position.east ? FLAG_EAST : 0) |
                             (longerBy != 0 ? FLAG_LONGER : 0));
    for (size_t i = 0; i < HEMISPHERE_COUNT; ++i) {
        bytes[LONGER_BY_AT + i] = static_cast<uint8_t>(longerBy != 0 ? longerBy - 1 : 0);
    }
    for (WCHAR unit : storedTemplate) {
        PutUnit(bytes, unit);
    }
    for (const std::wstring& text : texts) {
        PutUnit(bytes, FIELD_SEPARATOR);
        for (WCHAR unit : text) {
            PutUnit(bytes, unit);
        }
    }
    return bytes;
}

std::string CheckTemplateInput(const uint8_t* data, size_t size) {
    const TemplateCase c = DecodeTemplateCase(data, size);
    return CheckExpansion(c.TemplateText(), c.storedLength, c.Hemispheres(), c.position);
}
