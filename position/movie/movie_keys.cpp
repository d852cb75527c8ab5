// The iPhone's location: a meta box of the movie with the handler "mdta", whose keys box names
// the ISO 6709 key and whose ilst box holds, in the item typed by that key's 1-based index, a
// data box with the text. Keys are compared by length first; only a key of the right length is
// read.
#include "position/movie/movie_keys.h"

#include <cstring>

#include "position/movie/item_list.h"
#include "position/movie/user_data_records.h"

namespace {

constexpr uint32_t HANDLER_MDTA = FourCc("mdta");
constexpr uint32_t NAMESPACE_MDTA = FourCc("mdta");
constexpr char LOCATION_KEY[] = "com.apple.quicktime.location.ISO6709";
constexpr uint32_t LOCATION_KEY_SIZE = sizeof LOCATION_KEY - 1;

constexpr uint32_t FIELD_SIZE = 4;
constexpr uint32_t KEY_LIMIT = 256;

// keys: 4 version/flags | 4 count | per key: 4 size (with these 8 bytes) | 4 namespace | name.
constexpr uint32_t KEY_HEADER_SIZE = 8;

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
    if (status != RESULT_DONE) {
        return status;
    }
    if (nameSpace != NAMESPACE_MDTA || size - KEY_HEADER_SIZE != LOCATION_KEY_SIZE) {
        return RESULT_DONE;  // another key
    }
    BYTE text[LOCATION_KEY_SIZE];
    status = ReadAt(file, name, text);
    if (status != RESULT_DONE) {
        return status;
    }
    *found = std::memcmp(text, LOCATION_KEY, LOCATION_KEY_SIZE) == 0;
    return RESULT_DONE;
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
    if (status != RESULT_DONE) {
        return status;
    }
    for (uint32_t i = 1; i <= count && i <= KEY_LIMIT; ++i) {
        bool found = false;
        status = NextKey(file, &cursor, &found);
        if (status != RESULT_DONE) {
            return status;
        }
        if (found) {
            *index = i;
            return RESULT_DONE;
        }
    }
    return RESULT_NO_POSITION;
}

}  // namespace

Status ReadKeysRecord(FileSource& file, const Box& meta, GpsPosition* position) {
    ItemList list{};
    Status status = OpenItemList(file, meta, HANDLER_MDTA, &list);
    if (status != RESULT_DONE) {
        return status;
    }
    if (list.keys.type == TYPE_ABSENT) {
        return RESULT_NO_POSITION;
    }
    uint32_t index = 0;
    status = FindLocationKey(file, list.keys, &index);
    if (status != RESULT_DONE) {
        return NoLocationWhenShort(status);
    }
    return ReadItemText(file, list.ilst, index, position);
}
