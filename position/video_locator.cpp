// Finds the movie box among the top-level boxes, wherever the media data lies and however large
// it is (each box is passed over by its size), then the records of moov and its user data, and
// reads them in order until one holds a location. Damage to the headers of these boxes is a
// damaged file; anything wrong inside a record only means that record holds no location.
#include "position/video_location.h"
#include "position/video_records.h"

namespace {

constexpr uint32_t TYPE_MOOV = FourCc("moov");
constexpr uint32_t TYPE_UDTA = FourCc("udta");
constexpr uint32_t TYPE_META = FourCc("meta");
constexpr uint32_t TYPE_XYZ = FourCc("\xA9xyz");
constexpr uint32_t TYPE_LOCI = FourCc("loci");

// At each level: the top, moov's children and udta's.
constexpr uint32_t BOX_LIMIT = 256;

struct Record {
    Box box;  // TYPE_ABSENT when the file has none
    Status (*read)(HANDLE file, const Box& box, GpsPosition* position);
};

}  // namespace

Status ReadVideoLocation(HANDLE file, GpsPosition* position) {
    BoxWalk top{0, FullFileSize(file), BOX_LIMIT};
    Box moov{};
    Status status = FindBox(file, &top, TYPE_MOOV, &moov);
    if (status != RESULT_DONE) {
        return status;
    }
    Record records[] = {{{}, ReadXyzRecord}, {{}, ReadKeysRecord}, {{}, ReadLociRecord}};
    Box& xyz = records[0].box;
    Box& meta = records[1].box;
    Box& loci = records[2].box;
    Box udta{};
    status = CollectChildren(file, ChildrenOf(moov, BOX_LIMIT), ShortTail::PADDING,
                             {{TYPE_UDTA, &udta}, {TYPE_META, &meta}});
    if (status != RESULT_DONE) {
        return status;
    }
    if (udta.type != TYPE_ABSENT) {
        status = CollectChildren(file, ChildrenOf(udta, BOX_LIMIT), ShortTail::PADDING,
                                 {{TYPE_XYZ, &xyz}, {TYPE_LOCI, &loci}});
        if (status != RESULT_DONE) {
            return status;
        }
    }
    for (const Record& record : records) {
        status = record.box.type == TYPE_ABSENT ? RESULT_NO_POSITION
                                                : record.read(file, record.box, position);
        if (status != RESULT_NO_POSITION) {
            return status;
        }
    }
    return RESULT_NO_POSITION;
}
