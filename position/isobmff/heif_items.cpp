// The Exif item of a meta box: the entries of type Exif in iinf, the primary item of pitm, and
// the cdsc references of iref from an Exif item to the primary item.
#include "position/isobmff/heif_items.h"

namespace {

constexpr uint32_t TYPE_INFE = FourCc("infe");
constexpr uint32_t REFERENCE_CDSC = FourCc("cdsc");
constexpr uint32_t ITEM_TYPE_EXIF = FourCc("Exif");

// Entries read of iinf, and reference boxes with the IDs they hold read of iref.
constexpr uint32_t ITEM_INFO_LIMIT = 1024;
constexpr uint32_t REFERENCE_LIMIT = 1024;
// Exif items kept to choose from, in the order of their entries; later ones are not looked at.
constexpr uint32_t EXIF_ITEM_LIMIT = 4;

struct ExifItems {
    uint32_t ids[EXIF_ITEM_LIMIT];
    uint32_t count;
};

// pitm: 4 version/flags | item_ID, 2 bytes (version 0) or 4 (version 1). Another version
// names no primary item.
Status ReadPrimaryItem(FileSource& file, Box pitm, bool* known, uint64_t* primary) {
    *known = false;
    if (pitm.type == TYPE_ABSENT) {
        return RESULT_DONE;
    }
    uint8_t version = 0;
    uint32_t flags = 0;
    const Status status = ReadFullBoxHeader(file, &pitm, &version, &flags);
    if (status != RESULT_DONE || version > 1) {
        return status;
    }
    FieldCursor fields = PayloadOf(pitm);
    *known = true;
    return ReadField(file, &fields, version == 0 ? SHORT_ID_SIZE : LONG_ID_SIZE, primary);
}

// infe, version 2: 4 version/flags | 2 item_ID | 2 protection index | 4 item_type = 12 bytes;
// version 3: the same with a 4-byte item_ID, 14 bytes. Other versions carry no item type.
constexpr uint32_t INFE2_FIELDS_SIZE = 8;
constexpr uint32_t INFE3_FIELDS_SIZE = 10;
constexpr uint32_t INFE2_PROTECTION = 2;
constexpr uint32_t INFE2_TYPE = 4;
constexpr uint32_t INFE3_PROTECTION = 4;
constexpr uint32_t INFE3_TYPE = 6;

struct ItemEntry {
    uint32_t id;
    uint16_t protection;
    uint32_t type;
};

template <size_t N>
Status ReadEntryFields(FileSource& file, const Box& entry, BYTE (&fields)[N]) {
    if (entry.end - entry.payload < N) {
        return RESULT_NO_EXIF;
    }
    return ReadAt(file, entry.payload, fields);
}

Status ReadItemEntry(FileSource& file, Box entry, ExifItems* items) {
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &entry, &version, &flags);
    if (status != RESULT_DONE) {
        return status;
    }
    ItemEntry fields{};
    if (version == 2) {
        BYTE v2[INFE2_FIELDS_SIZE];
        status = ReadEntryFields(file, entry, v2);
        fields = ItemEntry{BigEndian16(v2), BigEndian16(v2 + INFE2_PROTECTION),
                           BigEndian32(v2 + INFE2_TYPE)};
    } else if (version == 3) {
        BYTE v3[INFE3_FIELDS_SIZE];
        status = ReadEntryFields(file, entry, v3);
        fields = ItemEntry{BigEndian32(v3), BigEndian16(v3 + INFE3_PROTECTION),
                           BigEndian32(v3 + INFE3_TYPE)};
    } else {
        return RESULT_DONE;
    }
    if (status != RESULT_DONE) {
        return status;
    }
    // A protected item's data is not the TIFF data itself.
    if (fields.type == ITEM_TYPE_EXIF && fields.protection == 0 && items->count < EXIF_ITEM_LIMIT) {
        items->ids[items->count++] = fields.id;
    }
    return RESULT_DONE;
}

// iinf: 4 version/flags | entry_count, 2 bytes (version 0) or 4 | that many infe boxes.
Status ReadExifItems(FileSource& file, Box iinf, ExifItems* items) {
    *items = ExifItems{};
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &iinf, &version, &flags);
    if (status != RESULT_DONE) {
        return status;
    }
    FieldCursor fields = PayloadOf(iinf);
    uint64_t count = 0;
    status = ReadField(file, &fields, version == 0 ? COUNT16_SIZE : COUNT32_SIZE, &count);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint32_t budget =
        count < ITEM_INFO_LIMIT ? static_cast<uint32_t>(count) : ITEM_INFO_LIMIT;
    BoxWalk walk{fields.position, iinf.end, budget};
    // Once the list of Exif items is full, no later entry can change the choice.
    while (HasNext(walk) && items->count < EXIF_ITEM_LIMIT) {
        Box entry{};
        status = NextBox(file, &walk, &entry);
        if (status != RESULT_DONE) {
            return status;
        }
        if (entry.type != TYPE_INFE) {
            continue;
        }
        status = ReadItemEntry(file, entry, items);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    return RESULT_DONE;
}

bool IsExifItem(const ExifItems& items, uint64_t id) {
    for (uint32_t i = 0; i < items.count; ++i) {
        if (items.ids[i] == id) {
            return true;
        }
    }
    return false;
}

// iref: 4 version/flags | boxes named by their reference type, each: from_item_ID | 2
// reference_count | that many to_item_IDs; IDs 2 bytes (version 0) or 4 (version 1). The Exif
// item with a cdsc reference to the primary item describes it; without one, the first counts.
Status ChooseExifItem(FileSource& file, Box iref, const ExifItems& items, uint64_t primary,
                      uint32_t* chosen) {
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &iref, &version, &flags);
    if (status != RESULT_DONE || version > 1) {
        return status;
    }
    const uint32_t idSize = version == 0 ? SHORT_ID_SIZE : LONG_ID_SIZE;
    BoxWalk walk = ChildrenOf(iref, REFERENCE_LIMIT);
    while (HasNext(walk)) {
        Box reference{};
        status = NextBox(file, &walk, &reference);
        if (status != RESULT_DONE) {
            return status;
        }
        if (reference.type != REFERENCE_CDSC) {
            continue;
        }
        FieldCursor fields = PayloadOf(reference);
        uint64_t from = 0;
        uint64_t count = 0;
        status = ReadFields(file, &fields, {{idSize, &from}, {COUNT16_SIZE, &count}});
        if (status != RESULT_DONE) {
            return status;
        }
        for (; count > 0 && walk.budget > 0 && IsExifItem(items, from); --count, --walk.budget) {
            uint64_t to = 0;
            status = ReadField(file, &fields, idSize, &to);
            if (status != RESULT_DONE) {
                return status;
            }
            if (to == primary) {
                *chosen = static_cast<uint32_t>(from);
                return RESULT_DONE;
            }
        }
    }
    return RESULT_DONE;
}

}  // namespace

Status FindExifItem(FileSource& file, const Box& iinf, const Box& pitm, const Box& iref,
                    uint32_t* id) {
    ExifItems items{};
    Status status = ReadExifItems(file, iinf, &items);
    if (status != RESULT_DONE) {
        return status;
    }
    if (items.count == 0) {
        return RESULT_NO_EXIF;
    }
    *id = items.ids[0];
    bool primaryKnown = false;
    uint64_t primary = 0;
    status = ReadPrimaryItem(file, pitm, &primaryKnown, &primary);
    if (status != RESULT_DONE || !primaryKnown || items.count == 1 || iref.type == TYPE_ABSENT) {
        return status;
    }
    return ChooseExifItem(file, iref, items, primary, id);
}
