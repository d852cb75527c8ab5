// Box headers and fields, each bounded by its parent by subtraction, so that no sum can wrap
// and no walk can stand still: every header is at least 8 bytes long.
#include "position/isobmff/box_reader.h"

namespace {

// Box header: 4 size + 4 type = 8 bytes; a size of 1 adds an 8-byte size behind them, and the
// type "uuid" a 16-byte user type behind that.
constexpr uint32_t HEADER_SIZE = 8;
constexpr uint32_t HEADER_SIZE_FIELD = 0;
constexpr uint32_t HEADER_TYPE_FIELD = 4;
constexpr uint32_t LARGE_SIZE_SIZE = 8;
constexpr uint32_t SIZE_TO_END = 0;
constexpr uint32_t SIZE_IS_LARGE = 1;

constexpr uint32_t FLAGS_MASK = 0x00FFFFFF;
constexpr uint32_t TYPE_FTYP = FourCc("ftyp");

// The box's size as its header gives it, or 0 for one that runs to the end of the walk; room is
// what the walk has left from the box's start.
Status ReadBoxSize(FileSource& file, const BYTE* header, uint64_t room, Box* box, uint64_t* size) {
    *size = BigEndian32(header + HEADER_SIZE_FIELD);
    if (*size != SIZE_IS_LARGE) {
        return *size == SIZE_TO_END || *size >= HEADER_SIZE ? RESULT_DONE : RESULT_NO_EXIF;
    }
    if (room < HEADER_SIZE + LARGE_SIZE_SIZE) {
        return RESULT_NO_EXIF;
    }
    BYTE large[LARGE_SIZE_SIZE];
    const Status status = ReadAt(file, box->payload, large);
    if (status != RESULT_DONE) {
        return status;
    }
    box->payload += LARGE_SIZE_SIZE;
    *size = BigEndian64(large);
    return *size >= HEADER_SIZE + LARGE_SIZE_SIZE ? RESULT_DONE : RESULT_NO_EXIF;
}

// Whether the walk goes on to another child: a short tail taken for padding ends it.
bool GoesOn(const BoxWalk& walk, ShortTail tail) {
    return HasNext(walk) && !(tail == ShortTail::PADDING && walk.end - walk.next < HEADER_SIZE);
}

template <size_t N>
Status ReadNumber(FileSource& file, uint64_t position, uint64_t* value) {
    BYTE bytes[N];
    const Status status = ReadAt(file, position, bytes);
    if (status != RESULT_DONE) {
        return status;
    }
    if constexpr (N == 2) {
        *value = BigEndian16(bytes);
    } else if constexpr (N == 4) {
        *value = BigEndian32(bytes);
    } else {
        *value = BigEndian64(bytes);
    }
    return RESULT_DONE;
}

}  // namespace

BoxWalk ChildrenOf(const Box& box, uint32_t budget) {
    return BoxWalk{box.payload, box.end, budget};
}

bool HasNext(const BoxWalk& walk) {
    return walk.budget > 0 && walk.next < walk.end;
}

Status NextBox(FileSource& file, BoxWalk* walk, Box* box) {
    if (!HasNext(*walk) || walk->end - walk->next < HEADER_SIZE) {
        return RESULT_NO_EXIF;
    }
    --walk->budget;
    BYTE header[HEADER_SIZE];
    Status status = ReadAt(file, walk->next, header);
    if (status != RESULT_DONE) {
        return status;
    }
    *box = Box{BigEndian32(header + HEADER_TYPE_FIELD), walk->next, walk->next + HEADER_SIZE,
               walk->end};
    const uint64_t room = walk->end - box->start;
    uint64_t size = 0;
    status = ReadBoxSize(file, header, room, box, &size);
    if (status != RESULT_DONE) {
        return status;
    }
    if (size > room) {
        return RESULT_NO_EXIF;
    }
    if (size != SIZE_TO_END) {
        box->end = box->start + size;
    }
    if (box->type == TYPE_UUID) {
        if (box->end - box->payload < USER_TYPE_SIZE) {
            return RESULT_NO_EXIF;
        }
        box->payload += USER_TYPE_SIZE;
    }
    walk->next = box->end;
    return RESULT_DONE;
}

Status FindChild(FileSource& file, BoxWalk* walk, ShortTail tail, uint32_t type, Box* box) {
    while (GoesOn(*walk, tail)) {
        const Status status = NextBox(file, walk, box);
        if (status != RESULT_DONE || box->type == type) {
            return status;
        }
    }
    *box = Box{TYPE_ABSENT, 0, 0, 0};
    return RESULT_DONE;
}

Status FindBox(FileSource& file, BoxWalk* walk, uint32_t type, Box* box) {
    const Status status = FindChild(file, walk, ShortTail::DAMAGED, type, box);
    if (status != RESULT_DONE) {
        return status;
    }
    return box->type == TYPE_ABSENT ? RESULT_NO_EXIF : RESULT_DONE;
}

Status FindTopBox(FileSource& file, uint32_t type, BoxWalk* top, Box* box) {
    *top = BoxWalk{0, 0, BOX_LIMIT};
    Status status = file.Size(&top->end);
    if (status != RESULT_DONE) {
        return status;
    }
    status = NextBox(file, top, box);
    if (status != RESULT_DONE) {
        return status;
    }
    if (box->type != TYPE_FTYP) {
        return RESULT_NO_EXIF;
    }
    return FindBox(file, top, type, box);
}

Status CollectChildren(FileSource& file, BoxWalk walk, ShortTail tail,
                       std::initializer_list<BoxSlot> slots) {
    for (const BoxSlot& slot : slots) {
        *slot.box = Box{TYPE_ABSENT, 0, 0, 0};
    }
    while (GoesOn(walk, tail)) {
        Box child{};
        const Status status = NextBox(file, &walk, &child);
        if (status != RESULT_DONE) {
            return status;
        }
        for (const BoxSlot& slot : slots) {
            if (child.type == slot.type && slot.box->type == TYPE_ABSENT) {
                *slot.box = child;
            }
        }
    }
    return RESULT_DONE;
}

Status ReadFullBoxHeader(FileSource& file, Box* box, uint8_t* version, uint32_t* flags) {
    if (box->end - box->payload < FULL_BOX_HEADER_SIZE) {
        return RESULT_NO_EXIF;
    }
    BYTE header[FULL_BOX_HEADER_SIZE];
    const Status status = ReadAt(file, box->payload, header);
    if (status != RESULT_DONE) {
        return status;
    }
    box->payload += FULL_BOX_HEADER_SIZE;
    *version = header[0];
    *flags = BigEndian32(header) & FLAGS_MASK;
    return RESULT_DONE;
}

FieldCursor PayloadOf(const Box& box) {
    return FieldCursor{box.payload, box.end};
}

Status ReadField(FileSource& file, FieldCursor* cursor, uint32_t size, uint64_t* value) {
    if (size > cursor->end - cursor->position) {
        return RESULT_NO_EXIF;
    }
    Status status = RESULT_NO_EXIF;
    switch (size) {
        case 0:
            *value = 0;
            return RESULT_DONE;
        case 2:
            status = ReadNumber<2>(file, cursor->position, value);
            break;
        case 4:
            status = ReadNumber<4>(file, cursor->position, value);
            break;
        case 8:
            status = ReadNumber<8>(file, cursor->position, value);
            break;
        default:
            return RESULT_NO_EXIF;
    }
    if (status != RESULT_DONE) {
        return status;
    }
    cursor->position += size;
    return RESULT_DONE;
}

Status ReadFields(FileSource& file, FieldCursor* cursor, std::initializer_list<Field> fields) {
    for (const Field& field : fields) {
        const Status status = ReadField(file, cursor, field.size, field.value);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    return RESULT_DONE;
}

Status SkipField(FieldCursor* cursor, uint64_t bytes) {
    if (bytes > cursor->end - cursor->position) {
        return RESULT_NO_EXIF;
    }
    cursor->position += bytes;
    return RESULT_DONE;
}
