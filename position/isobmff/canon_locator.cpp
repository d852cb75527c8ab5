// Finds the GPS block of a Canon CR3: the top-level boxes up to moov, moov's children up to the
// uuid box of Canon's user type, and that box's children up to CMT4. Only box headers and the
// user types of moov's uuid boxes are read; the image data behind moov is never reached.
#include "position/isobmff/canon_locator.h"

#include <cstring>

#include "position/isobmff/box_reader.h"

namespace {

constexpr uint32_t TYPE_MOOV = FourCc("moov");
// CMT1 holds IFD0, as a TIFF file does; CMT4 the GPS directory.
constexpr uint32_t TYPE_CMT1 = FourCc("CMT1");
constexpr uint32_t TYPE_CMT4 = FourCc("CMT4");

// 85c0b687-820f-11e0-8111-f4ce462b6a48: the box of Canon's metadata (CNCV, CMT1 to CMT4, ...).
constexpr BYTE CANON_USER_TYPE[USER_TYPE_SIZE] = {0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                                                  0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};

// The first uuid child of the walk whose user type is Canon's.
Status FindCanonBox(FileSource& file, BoxWalk* walk, Box* box) {
    for (;;) {
        Status status = FindBox(file, walk, TYPE_UUID, box);
        if (status != RESULT_DONE) {
            return status;
        }
        BYTE userType[USER_TYPE_SIZE];
        status = ReadAt(file, box->payload - USER_TYPE_SIZE, userType);
        if (status != RESULT_DONE) {
            return status;
        }
        if (std::memcmp(userType, CANON_USER_TYPE, USER_TYPE_SIZE) == 0) {
            return RESULT_DONE;
        }
    }
}

}  // namespace

Status LocateCanonGps(FileSource& file, FileWindow* window) {
    BoxWalk walk{};
    Box box{};
    Status status = FindTopBox(file, TYPE_MOOV, &walk, &box);
    if (status != RESULT_DONE) {
        return status;
    }
    walk = ChildrenOf(box, BOX_LIMIT);
    status = FindCanonBox(file, &walk, &box);
    if (status != RESULT_DONE) {
        return status;
    }
    Box ifd0{};
    Box gps{};
    status = CollectChildren(file, ChildrenOf(box, BOX_LIMIT), ShortTail::DAMAGED,
                             {{TYPE_CMT1, &ifd0}, {TYPE_CMT4, &gps}});
    if (status != RESULT_DONE) {
        return status;
    }
    // Without its GPS block a file that has its Exif directories has no position, as a JPEG
    // without the GPS pointer; without either it has no Exif.
    if (gps.type == TYPE_ABSENT) {
        return ifd0.type == TYPE_ABSENT ? RESULT_NO_EXIF : RESULT_NO_POSITION;
    }
    // TIFF offsets reach no further than 32 bits: a longer block is read as far as they reach.
    const uint64_t length = gps.end - gps.payload;
    *window =
        FileWindow{gps.payload, length < UINT32_MAX ? static_cast<uint32_t>(length) : UINT32_MAX};
    return file.MoveTo(window->start);
}
