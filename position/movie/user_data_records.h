#pragma once
// The location records of a movie's user data, each read from its own box: RESULT_DONE with
// *position; RESULT_NO_POSITION when the record holds no location (text that is not ISO 6709
// decimal degrees, an angle out of range, a record that ends early); RESULT_NO_EXIF when a box
// inside it is damaged; or the failure HRESULT of a read.

#include <windows.h>

#include "common/gps_position.h"
#include "common/status.h"
#include "position/isobmff/box_reader.h"

// The ©xyz record, in udta or as an item of an item list.
constexpr uint32_t TYPE_XYZ = FourCc("\xA9xyz");

// udta/©xyz: 2 text length | 2 language | ISO 6709 text.
Status ReadXyzRecord(FileSource& file, const Box& xyz, GpsPosition* position);

// udta/loci: the 3GPP location, in signed 16.16 fixed-point degrees.
Status ReadLociRecord(FileSource& file, const Box& loci, GpsPosition* position);

// The ISO 6709 text of length bytes at offset; no more of it than a short buffer is read.
Status ReadIso6709At(FileSource& file, uint64_t offset, uint64_t length, GpsPosition* position);

// Inside a record, a field that runs past its box is the record ending early: no location.
inline Status NoLocationWhenShort(Status status) {
    return status == RESULT_NO_EXIF ? RESULT_NO_POSITION : status;
}
