// The iPhone's location: a meta box of the movie with the handler "mdta", whose keys box names
// the ISO 6709 key and whose ilst box holds, in the item typed by that key's 1-based index, a
// data box with the text. Keys are compared by length first; only a key of the right length is
// read.
#include <cstring>

#include "position/movie/movie_keys.h"

#include "position/movie/user_data_records.h"

namespace {

constexpr uint32_t TYPE_HDLR = FourCc("hdlr");
constexpr uint32_t TYPE_KEYS = FourCc("keys");
constexpr uint32_t TYPE_ILST = FourCc("ilst");
constexpr uint32_t TYPE_DATA = FourCc("data");
constexpr uint32_t HANDLER_MDTA = FourCc("mdta");
constexpr uint32_t NAMESPACE_MDTA = FourCc("mdta");
constexpr char LOCATION_KEY[] = "com.apple.quicktime.location.ISO6709";
constexpr uint32_t LOCATION_KEY_SIZE = sizeof LOCATION_KEY - 1;

// The movie's meta box has no version and flags in QuickTime files; where it has them, as in
// the ISO layout, they are zero, while QuickTime's first child, hdlr, gives its own size.
constexpr uint32_t VERSION_FLAGS_SIZE = 4;
constexpr uint32_t FIELD_SIZE = 4;
constexpr uint32_t KEY_LIMIT = 256;

// hdlr: 4 version/flags | 4 pre-defined | 4 handler type | ...
// keys: 4 version/flags | 4 count | per key: 4 size (with these 8 bytes) | 4 namespace | name.
constexpr uint32_t KEY_HEADER_SIZE = 8;
// data: 4 type | 4 locale | the value.
constexpr uint32_t DATA_HEADER_SIZE = 8;

// The children of meta, behind its version and flags where it has them.
Status MetaChildren(FileSource& file, const Box& meta, BoxWalk* walk) {
    Box children = meta;
    BYTE first[VERSION_FLAGS_SIZE];
    if (meta.end - meta.payload >= VERSION_FLAGS_SIZE) {
        const Status status = ReadAt(file, meta.payload, first);
        if (status != RESULT_DONE) {
            return status;
        }
        if (BigEndian32(first) == 0) {
            children.payload += VERSION_FLAGS_SIZE;
        }
    }
    *walk = ChildrenOf(children, BOX_LIMIT);
    return RESULT_DONE;
}

Status CheckHandler(FileSource& file, Box hdlr) {
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
    return handler == HANDLER_MDTA ? RESULT_DONE : RESULT_NO_POSITION;
}

// The key at the cursor, which moves past it; *found when it is the location key. Its name is
// read only when its namespace and length are the location key's.
Status NextKey(FileSource& file, FieldCursor* cursor, bool* found) {
    *found = false;
    uint64_t size = 0;
    uint64_t nameSpace = 0;
    Status status = ReadFields(file, cursor, {{FIELD_SIZE, &size}, {FIELD_SIZE, &nameSpace}});
    if (status != RESULT_DONE) {
        return status;
    }
    if (size < KEY_HEADER_SIZE) {
        return RESULT_NO_EXIF;  // shorter than its header: the keys end here
    }
    const uint64_t name = cursor->position;
    status = SkipField(cursor, size - KEY_HEADER_SIZE);
    if (status != RESULT_DONE || nameSpace != NAMESPACE_MDTA ||
        size - KEY_HEADER_SIZE != LOCATION_KEY_SIZE) {
        return status;
    }
    BYTE text[LOCATION_KEY_SIZE];
    status = ReadAt(file, name, text);
    *found = status == RESULT_DONE && std::memcmp(text, LOCATION_KEY, LOCATION_KEY_SIZE) == 0;
    return status;
}

// The 1-based index of the location key among the first KEY_LIMIT keys.
Status FindLocationKey(FileSource& file, Box keys, uint32_t* index) {
    uint8_t version = 0;
    uint32_t flags = 0;
    Status status = ReadFullBoxHeader(file, &keys, &version, &flags);
    if (status != RESULT_DONE) {
        return status;
    }
    FieldCursor cursor = PayloadOf(keys);
    uint64_t count = 0;
    status = ReadField(file, &cursor, FIELD_SIZE, &count);
    for (uint32_t i = 1; status == RESULT_DONE && i <= count && i <= KEY_LIMIT; ++i) {
        bool found = false;
        status = NextKey(file, &cursor, &found);
        if (status == RESULT_DONE && found) {
            *index = i;
            return RESULT_DONE;
        }
    }
    return status == RESULT_DONE ? RESULT_NO_POSITION : status;
}

// The text of the first data box in the ilst item of type index.
Status ReadLocationItem(FileSource& file, const Box& ilst, uint32_t index, GpsPosition* position) {
    BoxWalk items = ChildrenOf(ilst, BOX_LIMIT);
    Box item{};
    Status status = FindChild(file, &items, ShortTail::PADDING, index, &item);
    if (status != RESULT_DONE) {
        return status;
    }
    if (item.type == TYPE_ABSENT) {
        return RESULT_NO_POSITION;
    }
    BoxWalk values = ChildrenOf(item, BOX_LIMIT);
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

}  // namespace

Status ReadKeysRecord(FileSource& file, const Box& meta, GpsPosition* position) {
    BoxWalk walk{};
    Status status = MetaChildren(file, meta, &walk);
    Box hdlr{};
    Box keys{};
    Box ilst{};
    if (status == RESULT_DONE) {
        status = CollectChildren(file, walk, ShortTail::PADDING,
                                 {{TYPE_HDLR, &hdlr}, {TYPE_KEYS, &keys}, {TYPE_ILST, &ilst}});
    }
    if (status != RESULT_DONE) {
        return status;
    }
    if (hdlr.type == TYPE_ABSENT || keys.type == TYPE_ABSENT || ilst.type == TYPE_ABSENT) {
        return RESULT_NO_POSITION;
    }
    status = CheckHandler(file, hdlr);
    uint32_t index = 0;
    if (status == RESULT_DONE) {
        status = FindLocationKey(file, keys, &index);
    }
    if (status != RESULT_DONE) {
        return NoLocationWhenShort(status);
    }
    return ReadLocationItem(file, ilst, index, position);
}
