#pragma once
// The reading state of the handler object and the TIFF block reading it drives: the byte-order
// slots, set from the TIFF byte-order mark at each reading, through which every number of the
// TIFF data goes. The reading is pure: it shows nothing and launches nothing. The shell's COM
// interfaces are added by the handler class that derives from this one.

#include <windows.h>

#include <cstdint>

#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"

// The magic numbers a TIFF header may carry: 42 alone for TIFF and every block inside a
// container; the Olympus and Panasonic raws each have their own, accepted only for them.
enum class TiffMagic : uint8_t { TIFF, ORF, RW2 };

// Where the GPS directory lies: behind the GPS pointer of the first directory, as in TIFF and
// Exif, or the first directory itself, as in the GPS block of a Canon CR3.
enum class GpsDirectory : uint8_t { POINTED_TO, FIRST };

class CQuorielReader {
  public:
    // The GPS position of the TIFF data in window, where file stands: RESULT_DONE with
    // *position, RESULT_NO_EXIF, RESULT_NO_POSITION, or the failure HRESULT of a read. A
    // header whose magic number is not one of magic's is no Exif.
    Status ReadTiffPosition(FileSource& file, const FileWindow& window, GpsPosition* position,
                            TiffMagic magic, GpsDirectory gps);

  private:
    using WordReader = uint16_t (CQuorielReader::*)(const BYTE* bytes) const;
    using DwordReader = uint32_t (CQuorielReader::*)(const BYTE* bytes) const;

    struct ByteOrderReaders {
        WordReader ReadWord = nullptr;
        DwordReader ReadDword = nullptr;
    };

    uint16_t ReadWordIntel(const BYTE* bytes) const;
    uint32_t ReadDwordIntel(const BYTE* bytes) const;
    uint16_t ReadWordMotorola(const BYTE* bytes) const;
    uint32_t ReadDwordMotorola(const BYTE* bytes) const;

    uint16_t Word(const BYTE* bytes) const { return (this->*byteOrder_.ReadWord)(bytes); }
    uint32_t Dword(const BYTE* bytes) const { return (this->*byteOrder_.ReadDword)(bytes); }

    // Steps of ReadTiffPosition; each returns early with its status.
    Status ReadByteOrder(FileSource& file, const FileWindow& window, TiffMagic magic,
                         uint32_t* ifd0);
    Status ReadDirectoryCount(FileSource& file, const FileWindow& window, uint32_t offset,
                              uint16_t* count) const;
    Status FindGpsDirectory(FileSource& file, const FileWindow& window, uint16_t entries,
                            bool* found, uint32_t* gpsOffset) const;
    Status ReadGpsDirectory(FileSource& file, const FileWindow& window, uint16_t entries,
                            unsigned* found, GpsPosition* position) const;
    Status ReadHemisphere(const BYTE* entry, char positive, char negative, bool* flag) const;
    Status ReadAngle(FileSource& file, const FileWindow& window, const BYTE* entry,
                     uint64_t* angle) const;

    ByteOrderReaders byteOrder_;
};
