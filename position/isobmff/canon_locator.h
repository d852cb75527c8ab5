#pragma once
// Where a Canon CR3 keeps its GPS data: a TIFF block of its own, the CMT4 box inside Canon's
// uuid box of the movie box, whose first directory is the GPS directory itself.

#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"

// RESULT_DONE with *window, the file standing at its first byte; RESULT_NO_POSITION when the
// Exif directories are there without the block; RESULT_NO_EXIF when neither is; or the failure
// HRESULT of a read.
Status LocateCanonGps(FileSource& file, FileWindow* window);
