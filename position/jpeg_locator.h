#pragma once
// Where a JPEG file keeps its TIFF block: behind the Exif identifier of the first APP1 segment.

#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"

// From offset 0, reading only the segment headers and the identifier: RESULT_DONE with
// *window, the file standing at its first byte; RESULT_NO_EXIF when there is no usable block;
// or the failure HRESULT of a read or a seek.
Status LocateJpegExif(FileSource& file, FileWindow* window);
