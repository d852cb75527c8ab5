#pragma once
// The reading side of the handler object: the position command and the two readers it drives.
// The shell's COM interfaces are added by the handler class that derives from this one, so
// these sources build without them.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "common/gps_position.h"
#include "common/status.h"

// Where the TIFF data lies in the file: every offset inside it is relative to start, and no
// read may leave it.
struct TiffWindow {
    uint32_t start;
    uint32_t length;
};

class CQuorielReader {
  public:
    // The body of the context-menu command for the first file of drop: E_FAIL for any verb
    // but command offset 0, S_OK after a launch, S_FALSE after a message box, or the failure
    // HRESULT of the open, a read or the settings. isJpeg picks the reader.
    HRESULT RunPositionCommand(const CMINVOKECOMMANDINFO* info, HDROP drop, bool isJpeg);

    // Walks the JPEG segments of file, which stands at offset 0, to its first APP1 segment and
    // reads the TIFF data behind its Exif identifier.
    Status ReadJpegPosition(HANDLE file, const CMINVOKECOMMANDINFO* info);

    // Reads the GPS position of the TIFF data of length bytes at start, where file stands, and
    // launches it; without a position the user is told so.
    Status ReadTiffPosition(HANDLE file, const CMINVOKECOMMANDINFO* info, uint32_t start,
                            uint32_t length);

  private:
    using WordReader = uint16_t (CQuorielReader::*)(const BYTE* bytes) const;
    using DwordReader = uint32_t (CQuorielReader::*)(const BYTE* bytes) const;

    // Set from the TIFF byte-order mark at each reading; every number of the TIFF data goes
    // through them.
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
    Status ReadDirectoryCount(HANDLE file, const TiffWindow& window, uint32_t offset,
                              uint16_t* count) const;
    Status FindGpsDirectory(HANDLE file, const TiffWindow& window, uint16_t entries, bool* found,
                            uint32_t* gpsOffset) const;
    Status ReadGpsDirectory(HANDLE file, const TiffWindow& window, uint16_t entries,
                            unsigned* found, GpsPosition* position) const;
    Status ReadHemisphere(const BYTE* entry, char positive, char negative, bool* flag) const;
    Status ReadAngle(HANDLE file, const TiffWindow& window, const BYTE* entry,
                     uint64_t* angle) const;

    ByteOrderReaders byteOrder_;
};
