#pragma once
// The iPhone's location record: a meta box of the movie with the handler "mdta", whose keys box
// names the ISO 6709 key and whose ilst box holds the text in that key's item.

#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_source.h"
#include "position/isobmff/box_reader.h"

// RESULT_DONE with *position; RESULT_NO_POSITION when meta holds no location; RESULT_NO_EXIF
// when a box inside it is damaged; or the failure HRESULT of a read.
Status ReadKeysRecord(FileSource& file, const Box& meta, GpsPosition* position);
