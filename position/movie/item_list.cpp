// The item list of a meta box, shared by the keys record and the iTunes-style ©xyz item: the
// handler checked, then one item's first data box read as ISO 6709 text. Each level is walked
// under BOX_LIMIT; only headers and the one text are read.
#include "position/movie/item_list.h"

#include "position/movie/user_data_records.h"

namespace {

constexpr uint32_t TYPE_HDLR = FourCc("hdlr");
constexpr uint32_t TYPE_KEYS = FourCc("keys");
constexpr uint32_t TYPE_ILST = FourCc("ilst");
constexpr uint32_t TYPE_DATA = FourCc("data");
constexpr uint32_t HANDLER_MDIR = FourCc("mdir");

constexpr uint32_t FIELD_SIZE = 4;

// data: 4 type | 4 locale | the value.
constexpr uint32_t DATA_HEADER_SIZE = 8;

// The children of meta, behind its version and flags where it has them. A movie's meta box has
// no version and flags in QuickTime files; where it has them, as in the ISO layout, they are
// zero, while QuickTime's first child, hdlr, gives its own size.
Status MetaChildren(FileSource& file, const Box& meta, BoxWalk* walk) {
    Box children = meta;
    BYTE first[FULL_BOX_HEADER_SIZE];
    if (meta.end - meta.payload >= FULL_BOX_HEADER_SIZE) {
        const Status status = ReadAt(file, meta.payload, first);
        if (status != RESULT_DONE) {
            return status;
        }
        if (BigEndian32(first) == 0) {
            children.payload += FULL_BOX_HEADER_SIZE;
        }
    }
    *walk = ChildrenOf(children, BOX_LIMIT);
    return RESULT_DONE;
}

// hdlr: 4 version/flags | 4 pre-defined | 4 handler type | ...
Status CheckHandler(FileSource& file, Box hdlr, uint32_t expected) {
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &hdlr, &version, &flags);
    if (status != RESULT_DONE) {
        return status;
    }
    FieldCursor cursor = PayloadOf(hdlr);
    uint64_t predefined = 0;
    uint64_t handler = 0;
    status = ReadFields(file, &cursor, {{FIELD_SIZE, &predefined}, {FIELD_SIZE, &handler}});
    if (status != RESULT_DONE) {
        return status;
    }
    return handler == expected ? RESULT_DONE : RESULT_NO_POSITION;
}

}  // namespace

Status OpenItemList(FileSource& file, const Box& meta, uint32_t handler, ItemList* list) {
    BoxWalk walk{};
    Status status = MetaChildren(file, meta, &walk);
    if (status != RESULT_DONE) {
        return status;
    }
    Box hdlr{};
    status =
        CollectChildren(file, walk, ShortTail::PADDING,
                        {{TYPE_HDLR, &hdlr}, {TYPE_KEYS, &list->keys}, {TYPE_ILST, &list->ilst}});
    if (status != RESULT_DONE) {
        return status;
    }
    if (hdlr.type == TYPE_ABSENT || list->ilst.type == TYPE_ABSENT) {
        return RESULT_NO_POSITION;
    }
    return NoLocationWhenShort(CheckHandler(file, hdlr, handler));
}

Status ReadItemText(FileSource& file, const Box& ilst, uint32_t item, GpsPosition* position) {
    BoxWalk items = ChildrenOf(ilst, BOX_LIMIT);
    Box found{};
    Status status = FindChild(file, &items, ShortTail::PADDING, item, &found);
    if (status != RESULT_DONE) {
        return status;
    }
    if (found.type == TYPE_ABSENT) {
        return RESULT_NO_POSITION;
    }
    BoxWalk values = ChildrenOf(found, BOX_LIMIT);
    Box data{};
    status = FindChild(file, &values, ShortTail::PADDING, TYPE_DATA, &data);
    if (status != RESULT_DONE) {
        return status;
    }
    if (data.type == TYPE_ABSENT) {
        return RESULT_NO_POSITION;
    }
    FieldCursor cursor = PayloadOf(data);
    if (SkipField(&cursor, DATA_HEADER_SIZE) != RESULT_DONE) {
        return RESULT_NO_POSITION;  // the record ends early
    }
    return ReadIso6709At(file, cursor.position, cursor.end - cursor.position, position);
}

Status ReadItemListRecord(FileSource& file, const Box& meta, GpsPosition* position) {
    ItemList list{};
    const Status status = OpenItemList(file, meta, HANDLER_MDIR, &list);
    if (status != RESULT_DONE) {
        return status;
    }
    return ReadItemText(file, list.ilst, TYPE_XYZ, position);
}
