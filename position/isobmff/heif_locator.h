#pragma once
// Where a HEIF-family file (HEIC, HEIF, AVIF) keeps its TIFF block: the Exif item of its
// top-level meta box.

#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"

// RESULT_DONE with *window, the file standing at its first byte; RESULT_NO_EXIF when there is
// no usable block; or the failure HRESULT of a read.
Status LocateHeifExif(FileSource& file, FileWindow* window);
