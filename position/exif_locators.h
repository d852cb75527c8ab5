#pragma once
// Where a file of each kind keeps its TIFF block. A locator reads only the structure around the
// block and leaves the file standing at the block's first byte; RESULT_DONE with *window,
// RESULT_NO_EXIF when there is no usable block, or the failure HRESULT of a read or a seek.

#include <windows.h>

#include "common/file_kind.h"
#include "common/status.h"
#include "position/file_window.h"

// The TIFF data behind the Exif identifier of the first APP1 segment, from offset 0.
Status LocateJpegExif(HANDLE file, FileWindow* window);

// The Exif item of the top-level meta box of a HEIF-family file (HEIC, HEIF, AVIF).
Status LocateHeifExif(HANDLE file, FileWindow* window);

// The EXIF chunk of a WebP file's RIFF container.
Status LocateWebpExif(HANDLE file, FileWindow* window);

// The eXIf chunk of a PNG file.
Status LocatePngExif(HANDLE file, FileWindow* window);

// The locator that kind calls for; a TIFF file is its own block.
Status LocateExif(HANDLE file, FileKind kind, FileWindow* window);
