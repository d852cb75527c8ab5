// Finds the movie box among the top-level boxes, wherever the media data lies and however large
// it is (each box is passed over by its size), then the records of moov and its user data, and
// reads them in order until one holds a location. A damaged box header ends its walk but not
// the reading: the records found before it, and the later records, are still read, and only
// when none holds a location is the file a damaged one. A record that is cut short or holds no
// ISO 6709 text only means that record holds no location.
#include "position/movie/video_location.h"

#include "position/movie/item_list.h"
#include "position/movie/movie_keys.h"
#include "position/movie/user_data_records.h"

namespace {

constexpr uint32_t TYPE_MOOV = FourCc("moov");
constexpr uint32_t TYPE_UDTA = FourCc("udta");
constexpr uint32_t TYPE_LOCI = FourCc("loci");

struct Record {
    Box box;  // TYPE_ABSENT when the file has none
    Status (*read)(FileSource& file, const Box& box, GpsPosition* position);
};

// The children of parent into the slots; a damaged header makes *outcome no Exif and leaves
// the slots filled before it.
Status Collect(FileSource& file, const Box& parent, std::initializer_list<BoxSlot> slots,
               Status* outcome) {
    const Status status =
        CollectChildren(file, ChildrenOf(parent, BOX_LIMIT), ShortTail::PADDING, slots);
    if (status == RESULT_NO_EXIF) {
        *outcome = RESULT_NO_EXIF;
        return RESULT_DONE;
    }
    return status;
}

}  // namespace

Status ReadVideoLocation(FileSource& file, GpsPosition* position) {
    BoxWalk top{0, 0, BOX_LIMIT};
    Status status = file.Size(&top.end);
    if (status != RESULT_DONE) {
        return status;
    }
    Box moov{};
    status = FindBox(file, &top, TYPE_MOOV, &moov);
    if (status != RESULT_DONE) {
        return status;
    }
    Record records[] = {
        {{}, ReadXyzRecord}, {{}, ReadKeysRecord}, {{}, ReadLociRecord}, {{}, ReadItemListRecord}};
    Box& xyz = records[0].box;
    Box& meta = records[1].box;
    Box& loci = records[2].box;
    Box& itemList = records[3].box;
    Status outcome = RESULT_NO_POSITION;
    Box udta{};
    status = Collect(file, moov, {{TYPE_UDTA, &udta}, {TYPE_META, &meta}}, &outcome);
    if (status != RESULT_DONE) {
        return status;
    }
    if (udta.type != TYPE_ABSENT) {
        status = Collect(file, udta, {{TYPE_XYZ, &xyz}, {TYPE_LOCI, &loci}, {TYPE_META, &itemList}},
                         &outcome);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    for (const Record& record : records) {
        if (record.box.type == TYPE_ABSENT) {
            continue;
        }
        status = record.read(file, record.box, position);
        if (status == RESULT_NO_EXIF) {
            outcome = RESULT_NO_EXIF;
        } else if (status != RESULT_NO_POSITION) {
            return status;  // a location, or a failure
        }
    }
    return outcome;
}
