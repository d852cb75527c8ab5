#pragma once
// The boxes of the ISO base media file format (HEIF, MP4, MOV): box headers, full-box version
// and flags, the children of a box walked one after another under a budget, and fields read
// from a box's payload. Positions are 64-bit: a box behind a media box of 4 GiB or more is
// reached by the media box's size, nothing of it read.

#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"

// Children walked at each level of a box tree (the top level, a box's children), so that a
// walk over hostile data is bounded work.
constexpr uint32_t BOX_LIMIT = 256;

// A box type as the number its four letters make in big-endian order.
constexpr uint32_t FourCc(const char (&letters)[5]) {
    return uint32_t{static_cast<uint8_t>(letters[0])} << 24 |
           uint32_t{static_cast<uint8_t>(letters[1])} << 16 |
           uint32_t{static_cast<uint8_t>(letters[2])} << 8 |
           uint32_t{static_cast<uint8_t>(letters[3])};
}

// Full-box header behind the box header: 1 version + 3 flags = 4 bytes.
constexpr uint32_t FULL_BOX_HEADER_SIZE = 4;

// The type of a box that is not there.
constexpr uint32_t TYPE_ABSENT = 0;

// The meta box, which both the HEIF images and the movies carry.
constexpr uint32_t TYPE_META = FourCc("meta");

// A box of a type of its own: the 16-byte user type lies between its header and its payload.
constexpr uint32_t TYPE_UUID = FourCc("uuid");
constexpr uint32_t USER_TYPE_SIZE = 16;

// Item IDs and entry counts are 16 or 32 bits wide, as a full box's version picks.
constexpr uint32_t SHORT_ID_SIZE = 2;
constexpr uint32_t LONG_ID_SIZE = 4;
constexpr uint32_t COUNT16_SIZE = 2;
constexpr uint32_t COUNT32_SIZE = 4;

struct Box {
    uint32_t type;
    uint64_t start;    // the first byte of its header
    uint64_t payload;  // the first byte behind the header (and a uuid box's user type, and
                       // version/flags once read)
    uint64_t end;      // the first byte behind the box
};

// The children of a box, or the top level of a file, from next to end. The walk sees at most
// budget children; whatever lies behind them is as if absent.
struct BoxWalk {
    uint64_t next;
    uint64_t end;
    uint32_t budget;
};

// The children of box, at most budget of them.
BoxWalk ChildrenOf(const Box& box, uint32_t budget);

// Whether the walk has another child to give.
bool HasNext(const BoxWalk& walk);

// What a tail too short for a box header at the end of a walk is: damage, or padding, such as
// the 32-bit zero that ends the user-data lists of older QuickTime files.
enum class ShortTail { DAMAGED, PADDING };

// The next child's header: RESULT_NO_EXIF when it is shorter than its own header or runs past
// the end of the walk (a size of 0 runs to that end, a size of 1 is followed by a 64-bit size).
Status NextBox(FileSource& file, BoxWalk* walk, Box* box);

// The first child of the given type, or a box of type TYPE_ABSENT when the walk ends without
// one; RESULT_NO_EXIF only for a damaged header.
Status FindChild(FileSource& file, BoxWalk* walk, ShortTail tail, uint32_t type, Box* box);

// The first child of the given type; RESULT_NO_EXIF when the walk ends without one.
Status FindBox(FileSource& file, BoxWalk* walk, uint32_t type, Box* box);

// The first box of the given type at the top level of the file, behind an ftyp box that must
// come first; *top is the walk of the top level, left behind that box with what is left of
// BOX_LIMIT. RESULT_NO_EXIF without either.
Status FindTopBox(FileSource& file, uint32_t type, BoxWalk* top, Box* box);

struct BoxSlot {
    uint32_t type;
    Box* box;
};

// The first child of each slot's type, into its box; a slot whose type is not among the
// children holds TYPE_ABSENT. Every child header is read, up to the walk's budget. After a
// damaged header the slots filled before it hold sound boxes.
Status CollectChildren(FileSource& file, BoxWalk walk, ShortTail tail,
                       std::initializer_list<BoxSlot> slots);

// A full box's version and flags, behind which box->payload then begins.
Status ReadFullBoxHeader(FileSource& file, Box* box, uint8_t* version, uint32_t* flags);

// Fields read one after another from position up to end, a box's payload or part of it.
struct FieldCursor {
    uint64_t position;
    uint64_t end;
};

FieldCursor PayloadOf(const Box& box);

// A big-endian unsigned field of size 0 (the value 0, nothing read), 2, 4 or 8 bytes;
// RESULT_NO_EXIF for a field that runs past the cursor's end or of another size.
Status ReadField(FileSource& file, FieldCursor* cursor, uint32_t size, uint64_t* value);

// Several fields one after another, each of its size into its value; stops at the first that
// cannot be read.
struct Field {
    uint32_t size;
    uint64_t* value;
};
Status ReadFields(FileSource& file, FieldCursor* cursor, std::initializer_list<Field> fields);

// Moves past bytes without reading them; RESULT_NO_EXIF when they run past the end.
Status SkipField(FieldCursor* cursor, uint64_t bytes);
