#pragma once
// The reading side of the handler object: the position command and the readers it drives. The
// reading itself is pure: it finds the TIFF block of the file and turns it into a status and a
// GpsPosition. Only the command shows a box or launches. The shell's COM interfaces are added
// by the handler class that derives from this one, so these sources build without them.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "common/file_kind.h"
#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_window.h"

class CQuorielReader {
  public:
    // The body of the context-menu command for the first file of drop: E_FAIL for any verb
    // but command offset 0, S_OK after a launch, S_FALSE after a message box, or the failure
    // HRESULT of the open, a read or the settings.
    HRESULT RunPositionCommand(const CMINVOKECOMMANDINFO* info, HDROP drop, FileKind kind);

    // The reading of an open file of kind, standing at offset 0: RESULT_DONE with *position,
    // RESULT_NO_EXIF, RESULT_NO_POSITION, or the failure HRESULT of a read. Shows nothing.
    Status ReadGpsPosition(HANDLE file, FileKind kind, GpsPosition* position);

    // The GPS position of the TIFF data in window, where file stands; the same statuses.
    Status ReadTiffGps(HANDLE file, const FileWindow& window, GpsPosition* position);

    // The readers as the command drives them: the reading, then the launch of a found position
    // or the box that says there is none, with info's owner window.
    Status ReadJpegPosition(HANDLE file, const CMINVOKECOMMANDINFO* info);
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

    // Steps of ReadTiffGps; each returns early with its status.
    Status ReadDirectoryCount(HANDLE file, const FileWindow& window, uint32_t offset,
                              uint16_t* count) const;
    Status FindGpsDirectory(HANDLE file, const FileWindow& window, uint16_t entries, bool* found,
                            uint32_t* gpsOffset) const;
    Status ReadGpsDirectory(HANDLE file, const FileWindow& window, uint16_t entries,
                            unsigned* found, GpsPosition* position) const;
    Status ReadHemisphere(const BYTE* entry, char positive, char negative, bool* flag) const;
    Status ReadAngle(HANDLE file, const FileWindow& window, const BYTE* entry,
                     uint64_t* angle) const;

    ByteOrderReaders byteOrder_;
};
