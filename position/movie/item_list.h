#pragma once
// The item list of a meta box: hdlr says what the items are, ilst holds them, each a box typed
// by its name or index with its value in data boxes. Two records use it: the iPhone's keys
// record (movie_keys.h), whose items are typed by key index, and the iTunes-style record of the
// movie's user data, udta/meta with the handler "mdir", whose ©xyz item holds the ISO 6709 text.

#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_source.h"
#include "position/isobmff/box_reader.h"

// The boxes of a meta box that an item list needs; keys only where the handler uses keys.
struct ItemList {
    Box keys;  // TYPE_ABSENT when meta has none
    Box ilst;
};

// meta's keys and ilst, when its hdlr names handler: RESULT_NO_POSITION when hdlr or ilst is
// absent, the handler is another or hdlr ends early; RESULT_NO_EXIF when a child header of meta
// is damaged; or the failure HRESULT of a read.
Status OpenItemList(FileSource& file, const Box& meta, uint32_t handler, ItemList* list);

// The ISO 6709 text of the first data box in ilst's first item of type item: RESULT_NO_POSITION
// when there is no such item or data box, or the data box ends early; RESULT_NO_EXIF when a
// header inside ilst is damaged.
Status ReadItemText(FileSource& file, const Box& ilst, uint32_t item, GpsPosition* position);

// udta/meta, handler "mdir": the ISO 6709 text of its ©xyz item. RESULT_DONE with *position;
// RESULT_NO_POSITION when meta holds no location; RESULT_NO_EXIF when a box inside it is
// damaged; or the failure HRESULT of a read.
Status ReadItemListRecord(FileSource& file, const Box& meta, GpsPosition* position);
