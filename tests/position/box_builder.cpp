#include "tests/position/box_builder.h"

namespace {

constexpr uint32_t HEADER_SIZE = 8;
constexpr uint32_t LARGE_HEADER_SIZE = 16;
constexpr uint32_t SIZE_TO_END = 0;
constexpr uint32_t SIZE_IS_LARGE = 1;

Bytes TypeBytes(const std::string& type) {
    return Bytes(type.begin(), type.begin() + 4);
}

Bytes IdField(uint8_t version, uint8_t longFrom, uint64_t id) {
    return BigEndian(version >= longFrom ? 4 : 2, id);
}

// In place, so that files of many thousands of entries build in linear time.
void Append(Bytes* to, const Bytes& from) {
    to->insert(to->end(), from.begin(), from.end());
}

}  // namespace

Bytes BigEndian(uint32_t size, uint64_t value) {
    Bytes bytes(size);
    for (uint32_t i = 0; i < size; ++i) {
        bytes[size - 1 - i] = static_cast<uint8_t>(value >> (8 * i));
    }
    return bytes;
}

Bytes Box(const std::string& type, const Bytes& payload) {
    return Concat({BoxHeader(type, static_cast<uint32_t>(HEADER_SIZE + payload.size())), payload});
}

Bytes LargeBox(const std::string& type, const Bytes& payload) {
    return Concat({LargeBoxHeader(type, LARGE_HEADER_SIZE + payload.size()), payload});
}

Bytes BoxToEnd(const std::string& type, const Bytes& payload) {
    return Concat({BoxHeader(type, SIZE_TO_END), payload});
}

Bytes BoxHeader(const std::string& type, uint32_t size) {
    return Concat({BigEndian(4, size), TypeBytes(type)});
}

Bytes LargeBoxHeader(const std::string& type, uint64_t size) {
    return Concat({BigEndian(4, SIZE_IS_LARGE), TypeBytes(type), BigEndian(8, size)});
}

Bytes FullBox(const std::string& type, uint8_t version, uint32_t flags, const Bytes& payload) {
    return Box(type, Concat({{version}, BigEndian(3, flags), payload}));
}

Bytes Ftyp(const std::string& brand) {
    return Box("ftyp",
               Concat({TypeBytes(brand), BigEndian(4, 0), TypeBytes("mif1"), TypeBytes(brand)}));
}

Bytes HandlerBox(const std::string& type) {
    // pre_defined, handler type, three reserved words, an empty name.
    return FullBox("hdlr", 0, 0, Concat({BigEndian(4, 0), TypeBytes(type), Bytes(12), {0}}));
}

Bytes PictHandler() {
    return HandlerBox("pict");
}

Bytes Infe(uint8_t version, uint32_t id, const std::string& itemType, uint16_t protection) {
    // An empty item name behind the type.
    return FullBox(
        "infe", version, 0,
        Concat({IdField(version, 3, id), BigEndian(2, protection), TypeBytes(itemType), {0}}));
}

Bytes Iinf(uint8_t version, const std::vector<Bytes>& entries) {
    return Iinf(version, static_cast<uint32_t>(entries.size()), entries);
}

Bytes Iinf(uint8_t version, uint32_t count, const std::vector<Bytes>& entries) {
    Bytes payload = BigEndian(version == 0 ? 2 : 4, count);
    for (const Bytes& entry : entries) {
        Append(&payload, entry);
    }
    return FullBox("iinf", version, 0, payload);
}

Bytes Pitm(uint8_t version, uint32_t id) {
    return FullBox("pitm", version, 0, IdField(version, 1, id));
}

Bytes Iref(uint8_t version, const std::vector<ItemReference>& references) {
    Bytes payload;
    for (const ItemReference& reference : references) {
        Bytes ids =
            Concat({IdField(version, 1, reference.from), BigEndian(2, reference.to.size())});
        for (uint32_t to : reference.to) {
            Append(&ids, IdField(version, 1, to));
        }
        Append(&payload, Box(reference.type, ids));
    }
    return FullBox("iref", version, 0, payload);
}

Bytes Iloc(const IlocFormat& format, const std::vector<ItemLocation>& items) {
    return Iloc(format, static_cast<uint32_t>(items.size()), items);
}

Bytes Iloc(const IlocFormat& format, uint32_t count, const std::vector<ItemLocation>& items) {
    const uint8_t version = format.version;
    Bytes payload = {
        static_cast<uint8_t>(format.offsetSize << 4 | format.lengthSize),
        static_cast<uint8_t>(format.baseOffsetSize << 4 | (version == 0 ? 0 : format.indexSize))};
    Append(&payload, BigEndian(version < 2 ? 2 : 4, count));
    for (const ItemLocation& item : items) {
        Append(&payload, IdField(version, 2, item.id));
        if (version > 0) {
            Append(&payload, BigEndian(2, item.construction));
        }
        Append(&payload, BigEndian(2, item.dataReference));
        Append(&payload, BigEndian(format.baseOffsetSize, item.baseOffset));
        Append(&payload, BigEndian(2, item.extents.size()));
        for (const Extent& extent : item.extents) {
            if (version > 0) {
                Append(&payload, BigEndian(format.indexSize, extent.index));
            }
            Append(&payload, BigEndian(format.offsetSize, extent.offset));
            Append(&payload, BigEndian(format.lengthSize, extent.length));
        }
    }
    return FullBox("iloc", version, 0, payload);
}

Bytes ExifItemData(const Bytes& tiff, uint32_t skip) {
    Bytes identifier = {'E', 'x', 'i', 'f', 0, 0};
    identifier.resize(skip);
    return Concat({BigEndian(4, skip), identifier, tiff});
}
