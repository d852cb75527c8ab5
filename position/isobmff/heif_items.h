#pragma once
// Which item of a HEIF-family meta box holds the Exif data: the items of type Exif in the item
// information, and of those the one that describes the primary item.

#include <windows.h>

#include <cstdint>

#include "common/status.h"
#include "position/isobmff/box_reader.h"

// The Exif item among the entries of iinf; pitm and iref, when their type is not 0, name the
// primary item and the references to it. RESULT_NO_EXIF when there is no Exif item.
Status FindExifItem(FileSource& file, const Box& iinf, const Box& pitm, const Box& iref,
                    uint32_t* id);
