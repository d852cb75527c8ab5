#pragma once
// The reading of an open file by its kind, as its row in the kind table says: the locator of
// its container, then the TIFF reader on the block it found; a video's location records
// instead, since videos carry no Exif.

#include <windows.h>

#include "common/file_kind.h"
#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_source.h"
#include "position/kind_table.h"
#include "position/tiff_reader.h"

// The file standing at offset 0, reached with the access of its kind's row: RESULT_DONE with
// *position, RESULT_NO_EXIF, RESULT_NO_POSITION, or the failure HRESULT of a read. Shows nothing.
Status ReadGpsPosition(CQuorielReader& reader, HANDLE file, FileKind kind, GpsPosition* position);

// The same through a source of either access: both give the same outcome.
Status ReadGpsPosition(CQuorielReader& reader, FileSource& file, FileKind kind,
                       GpsPosition* position);

// Where a file of kind keeps its TIFF block, the file standing at its first byte afterwards:
// RESULT_DONE with *window, RESULT_NO_EXIF when there is none (and for videos, which keep
// their own records), RESULT_NO_POSITION for a CR3 whose Exif has no GPS block, or the failure
// HRESULT of a read.
Status LocateTiffBlock(FileSource& file, FileKind kind, FileWindow* window);
