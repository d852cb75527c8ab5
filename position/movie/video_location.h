#pragma once
// Where a video (MP4, MOV, 3GP) was shot: the location records of its movie box, which take the
// place of Exif in these files. Only box headers and the records themselves are read; the media
// data is passed over by its size, wherever it lies and however large it is.

#include <windows.h>

#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_source.h"

// The first location among moov's records, in this order: udta/©xyz, the ISO 6709 item of
// meta's keys and ilst, udta/loci, the ©xyz item of udta/meta's item list. RESULT_DONE with
// *position; RESULT_NO_POSITION when the boxes are sound but no record holds a location;
// RESULT_NO_EXIF when there is no movie box, or when a box header is damaged and no record holds
// a location; or the failure HRESULT of a read.
Status ReadVideoLocation(FileSource& file, GpsPosition* position);
