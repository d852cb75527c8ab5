#pragma once
// Where a WebP file keeps its TIFF block: the EXIF chunk of its RIFF container.

#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"

// RESULT_DONE with *window, the file standing at its first byte; RESULT_NO_EXIF when there is
// no usable block; or the failure HRESULT of a read.
Status LocateWebpExif(FileSource& file, FileWindow* window);
