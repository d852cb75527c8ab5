// Reads the GPS position out of TIFF data: the header, IFD0 up to its GPS pointer, and the GPS
// directory. Every read is tested against the TIFF data window first; every offset taken from
// the data is tested against the window's length. Nothing is shown or launched here.
#include "position/tiff_reader.h"

namespace {

// Header: 2 byte-order mark + 2 magic (42, or a raw's own) + 4 offset of IFD0.
constexpr DWORD HEADER_SIZE = 8;
constexpr int HEADER_MAGIC = 2;
constexpr int HEADER_IFD0 = 4;
constexpr DWORD COUNT_SIZE = 2;
// Entry: 2 tag + 2 field type + 4 value count + 4 value or value offset.
constexpr DWORD ENTRY_SIZE = 12;
// Three RATIONALs: degrees, minutes, seconds, each 4 numerator + 4 denominator.
constexpr DWORD TRIPLE_SIZE = 24;

constexpr BYTE ORDER_INTEL = 0x49;     // "II"
constexpr BYTE ORDER_MOTOROLA = 0x4D;  // "MM"
constexpr uint16_t TIFF_MAGIC = 42;
// Read in the header's byte order: "IIRO" and "MMOR" both give 0x4F52.
constexpr uint16_t ORF_MAGIC = 0x4F52;
constexpr uint16_t ORF_MAGIC_SP = 0x5352;  // "IIRS"
constexpr uint16_t RW2_MAGIC = 0x0055;     // "IIU\0"

constexpr uint16_t TAG_GPS_POINTER = 0x8825;
constexpr uint16_t TAG_LATITUDE_REF = 1;
constexpr uint16_t TAG_LATITUDE = 2;
constexpr uint16_t TAG_LONGITUDE_REF = 3;
constexpr uint16_t TAG_LONGITUDE = 4;
constexpr uint16_t TYPE_ASCII = 2;
constexpr uint16_t TYPE_RATIONAL = 5;
constexpr uint32_t REFERENCE_COUNT = 2;  // the letter and its NUL
constexpr uint32_t RATIONAL_COUNT = 3;

constexpr unsigned FOUND_LATITUDE_REF = 1;
constexpr unsigned FOUND_LATITUDE = 2;
constexpr unsigned FOUND_LONGITUDE_REF = 4;
constexpr unsigned FOUND_LONGITUDE = 8;
constexpr unsigned FOUND_ALL = 15;

// No offset may point into the header.
constexpr uint32_t SMALLEST_OFFSET = 8;
constexpr uint32_t DIRECTORY_ROOM = 4;

// Field positions inside an entry.
constexpr int ENTRY_TAG = 0;
constexpr int ENTRY_TYPE = 2;
constexpr int ENTRY_COUNT = 4;
constexpr int ENTRY_VALUE = 8;

// The window check at the file position, then the read.
template <size_t N>
Status ReadInWindow(FileSource& file, const FileWindow& window, BYTE (&buffer)[N]) {
    if (!window.Holds(file.Position(), static_cast<uint32_t>(N))) {
        return RESULT_NO_EXIF;
    }
    return ReadWhole(file, buffer);
}

bool OffsetFits(uint32_t offset, const FileWindow& window, uint32_t room) {
    return offset >= SMALLEST_OFFSET && window.HoldsOffset(offset, room);
}

bool MagicAccepted(TiffMagic magic, uint16_t word) {
    switch (magic) {
        case TiffMagic::TIFF:
            return word == TIFF_MAGIC;
        case TiffMagic::ORF:
            return word == ORF_MAGIC || word == ORF_MAGIC_SP;
        case TiffMagic::RW2:
            return word == RW2_MAGIC;
    }
    return false;
}

// (numerator x unit) / denominator, truncated; 0 denominators are refused by the caller.
uint64_t Term(uint32_t numerator, uint32_t denominator, uint64_t unit) {
    return numerator * unit / denominator;
}

}  // namespace

Status CQuorielReader::ReadTiffPosition(FileSource& file, const FileWindow& window,
                                        GpsPosition* position, TiffMagic magic, GpsDirectory gps) {
    uint32_t ifd0 = 0;
    Status status = ReadByteOrder(file, window, magic, &ifd0);
    if (status != RESULT_DONE) {
        return status;
    }
    bool hasGps = gps == GpsDirectory::FIRST;
    uint32_t gpsOffset = ifd0;
    uint16_t entries = 0;
    if (!hasGps) {
        status = ReadDirectoryCount(file, window, ifd0, &entries);
        if (status != RESULT_DONE) {
            return status;
        }
        status = FindGpsDirectory(file, window, entries, &hasGps, &gpsOffset);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    unsigned found = 0;
    if (hasGps) {
        status = ReadDirectoryCount(file, window, gpsOffset, &entries);
        if (status != RESULT_DONE) {
            return status;
        }
        status = ReadGpsDirectory(file, window, entries, &found, position);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    return found == FOUND_ALL ? RESULT_DONE : RESULT_NO_POSITION;
}

// The header: sets both slots from its byte-order mark, checks the magic, gives IFD0's offset.
Status CQuorielReader::ReadByteOrder(FileSource& file, const FileWindow& window, TiffMagic magic,
                                     uint32_t* ifd0) {
    BYTE header[HEADER_SIZE];
    const Status status = ReadInWindow(file, window, header);
    if (status != RESULT_DONE) {
        return status;
    }
    if (header[0] == ORDER_INTEL && header[1] == ORDER_INTEL) {
        byteOrder_ = {&CQuorielReader::ReadWordIntel, &CQuorielReader::ReadDwordIntel};
    } else if (header[0] == ORDER_MOTOROLA && header[1] == ORDER_MOTOROLA) {
        byteOrder_ = {&CQuorielReader::ReadWordMotorola, &CQuorielReader::ReadDwordMotorola};
    } else {
        return RESULT_NO_EXIF;
    }
    if (!MagicAccepted(magic, Word(header + HEADER_MAGIC))) {
        return RESULT_NO_EXIF;
    }
    *ifd0 = Dword(header + HEADER_IFD0);
    return RESULT_DONE;
}

// Moves to the directory at offset and reads its entry count.
Status CQuorielReader::ReadDirectoryCount(FileSource& file, const FileWindow& window,
                                          uint32_t offset, uint16_t* count) const {
    if (!OffsetFits(offset, window, DIRECTORY_ROOM)) {
        return RESULT_NO_EXIF;
    }
    // A move that fails would leave the file inside the window, behind the entry just read.
    Status status = file.MoveTo(window.start + offset);
    if (status != RESULT_DONE) {
        return status;
    }
    BYTE bytes[COUNT_SIZE];
    status = ReadInWindow(file, window, bytes);
    if (status != RESULT_DONE) {
        return status;
    }
    *count = Word(bytes);
    return RESULT_DONE;
}

// The GPS directory offset of IFD0's first GPS pointer entry; entries after it are not read.
Status CQuorielReader::FindGpsDirectory(FileSource& file, const FileWindow& window,
                                        uint16_t entries, bool* found, uint32_t* gpsOffset) const {
    for (uint16_t i = 0; i < entries; ++i) {
        BYTE entry[ENTRY_SIZE];
        const Status status = ReadInWindow(file, window, entry);
        if (status != RESULT_DONE) {
            return status;
        }
        if (Word(entry + ENTRY_TAG) == TAG_GPS_POINTER) {
            *found = true;
            *gpsOffset = Dword(entry + ENTRY_VALUE);
            return RESULT_DONE;
        }
    }
    return RESULT_DONE;
}

// Reads all the entries of the GPS directory; a later entry of a tag replaces an earlier one.
Status CQuorielReader::ReadGpsDirectory(FileSource& file, const FileWindow& window,
                                        uint16_t entries, unsigned* found,
                                        GpsPosition* position) const {
    for (uint16_t i = 0; i < entries; ++i) {
        BYTE entry[ENTRY_SIZE];
        Status status = ReadInWindow(file, window, entry);
        if (status != RESULT_DONE) {
            return status;
        }
        switch (Word(entry + ENTRY_TAG)) {
            case TAG_LATITUDE_REF:
                status = ReadHemisphere(entry, 'N', 'S', &position->north);
                *found |= FOUND_LATITUDE_REF;
                break;
            case TAG_LONGITUDE_REF:
                status = ReadHemisphere(entry, 'E', 'W', &position->east);
                *found |= FOUND_LONGITUDE_REF;
                break;
            case TAG_LATITUDE:
                status = ReadAngle(file, window, entry, &position->latitude);
                *found |= FOUND_LATITUDE;
                break;
            case TAG_LONGITUDE:
                status = ReadAngle(file, window, entry, &position->longitude);
                *found |= FOUND_LONGITUDE;
                break;
            default:
                break;
        }
        if (status != RESULT_DONE) {
            return status;
        }
    }
    return RESULT_DONE;
}

// An ASCII entry of count 2 whose value is the letter positive or negative and a NUL.
Status CQuorielReader::ReadHemisphere(const BYTE* entry, char positive, char negative,
                                      bool* flag) const {
    const BYTE letter = entry[ENTRY_VALUE];
    if (Word(entry + ENTRY_TYPE) != TYPE_ASCII || Dword(entry + ENTRY_COUNT) != REFERENCE_COUNT ||
        entry[ENTRY_VALUE + 1] != 0 || (letter != positive && letter != negative)) {
        return RESULT_NO_EXIF;
    }
    *flag = letter == positive;
    return RESULT_DONE;
}

// A RATIONAL entry of count 3 whose value is the offset of degrees, minutes and seconds;
// the file is moved back behind the entry afterwards.
Status CQuorielReader::ReadAngle(FileSource& file, const FileWindow& window, const BYTE* entry,
                                 uint64_t* angle) const {
    const uint32_t offset = Dword(entry + ENTRY_VALUE);
    if (Word(entry + ENTRY_TYPE) != TYPE_RATIONAL || Dword(entry + ENTRY_COUNT) != RATIONAL_COUNT ||
        !OffsetFits(offset, window, TRIPLE_SIZE)) {
        return RESULT_NO_EXIF;
    }
    const uint64_t behindEntry = file.Position();
    Status status = file.MoveTo(window.start + offset);
    if (status != RESULT_DONE) {
        return status;
    }
    BYTE triple[TRIPLE_SIZE];
    status = ReadInWindow(file, window, triple);
    if (status != RESULT_DONE) {
        return status;
    }
    status = file.MoveTo(behindEntry);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint32_t degrees = Dword(triple), degreesDenominator = Dword(triple + 4);
    const uint32_t minutes = Dword(triple + 8), minutesDenominator = Dword(triple + 12);
    const uint32_t seconds = Dword(triple + 16), secondsDenominator = Dword(triple + 20);
    if (degreesDenominator == 0 || minutesDenominator == 0 || secondsDenominator == 0) {
        return RESULT_NO_EXIF;
    }
    *angle = Term(degrees, degreesDenominator, MICRO_ARCSECONDS_PER_DEGREE) +
             Term(minutes, minutesDenominator, MICRO_ARCSECONDS_PER_MINUTE) +
             Term(seconds, secondsDenominator, MICRO_ARCSECONDS_PER_SECOND);
    return RESULT_DONE;
}

uint16_t CQuorielReader::ReadWordIntel(const BYTE* b) const {
    return LittleEndian16(b);
}

uint32_t CQuorielReader::ReadDwordIntel(const BYTE* b) const {
    return LittleEndian32(b);
}

uint16_t CQuorielReader::ReadWordMotorola(const BYTE* b) const {
    return BigEndian16(b);
}

uint32_t CQuorielReader::ReadDwordMotorola(const BYTE* b) const {
    return BigEndian32(b);
}
