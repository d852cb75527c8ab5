"""The ZIP layer of a package, laid out as Windows' own package writers lay it out.

- Every local header says "version 4.5" and "sizes in a data descriptor" (flag bit 3), with CRC
  and sizes zero and no extra field: a local header is 30 bytes and the name, which is the
  LfhSize the block map states.
- After each entry's bytes, a ZIP64 data descriptor: CRC and the 8-byte sizes.
- Each central directory header has 0xFFFFFFFF for both sizes and the local header's offset, and
  a ZIP64 extra field with all three.
- After the central directory (in the entries' order), the ZIP64 end of central directory record
  and its locator, then the classic end record with every count, size and offset at its
  all-ones value, as it is when the ZIP64 record holds them.
"""
import struct
import zlib

VERSION = 45  # 4.5: ZIP64
FLAG_DATA_DESCRIPTOR = 0x0008
STORED, DEFLATED = 0, 8
DOS_TIME, DOS_DATE = 0, (0 << 9) | (1 << 5) | 1  # 1980-01-01 00:00, so builds repeat
ZIP64_EXTRA_ID = 0x0001

LOCAL_HEADER = struct.Struct("<IHHHHHIIIHH")
DATA_DESCRIPTOR = struct.Struct("<IIQQ")
CENTRAL_HEADER = struct.Struct("<IHHHHHHIIIHHHHHII")
ZIP64_EXTRA = struct.Struct("<HHQQQ")
ZIP64_END = struct.Struct("<IQHHIIQQQQ")
ZIP64_LOCATOR = struct.Struct("<IIQI")
END = struct.Struct("<IHHHHIIH")

LOCAL_HEADER_SIGNATURE = 0x04034B50
DATA_DESCRIPTOR_SIGNATURE = 0x08074B50
CENTRAL_HEADER_SIGNATURE = 0x02014B50
ZIP64_END_SIGNATURE = 0x06064B50
ZIP64_LOCATOR_SIGNATURE = 0x07064B50
END_SIGNATURE = 0x06054B50
ALL_ONES_16, ALL_ONES_32 = 0xFFFF, 0xFFFFFFFF


def local_header_size(name):
    return LOCAL_HEADER.size + len(name.encode("utf-8"))


class PackageZip:
    """Writes entries in the order they are added, then the directory and end records."""

    def __init__(self, file):
        self.file = file
        self.entries = []

    def add(self, name, data, deflate=False):
        encoded = name.encode("utf-8")
        if deflate:
            packer = zlib.compressobj(9, zlib.DEFLATED, -15)
            body = packer.compress(data) + packer.flush()
        else:
            body = data
        method = DEFLATED if deflate else STORED
        crc = zlib.crc32(data)
        offset = self.file.tell()
        self.file.write(LOCAL_HEADER.pack(LOCAL_HEADER_SIGNATURE, VERSION, FLAG_DATA_DESCRIPTOR,
                                          method, DOS_TIME, DOS_DATE, 0, 0, 0, len(encoded), 0))
        self.file.write(encoded)
        self.file.write(body)
        self.file.write(DATA_DESCRIPTOR.pack(DATA_DESCRIPTOR_SIGNATURE, crc, len(body),
                                             len(data)))
        self.entries.append((encoded, method, crc, len(body), len(data), offset))

    def close(self):
        directory_start = self.file.tell()
        for encoded, method, crc, packed, size, offset in self.entries:
            extra = ZIP64_EXTRA.pack(ZIP64_EXTRA_ID, ZIP64_EXTRA.size - 4, size, packed, offset)
            self.file.write(CENTRAL_HEADER.pack(
                CENTRAL_HEADER_SIGNATURE, VERSION, VERSION, FLAG_DATA_DESCRIPTOR, method,
                DOS_TIME, DOS_DATE, crc, ALL_ONES_32, ALL_ONES_32, len(encoded), len(extra),
                0, 0, 0, 0, ALL_ONES_32))
            self.file.write(encoded)
            self.file.write(extra)
        zip64_end = self.file.tell()
        count = len(self.entries)
        # The record's size field counts what follows that field.
        self.file.write(ZIP64_END.pack(ZIP64_END_SIGNATURE, ZIP64_END.size - 12, VERSION,
                                       VERSION, 0, 0, count, count,
                                       zip64_end - directory_start, directory_start))
        self.file.write(ZIP64_LOCATOR.pack(ZIP64_LOCATOR_SIGNATURE, 0, zip64_end, 1))
        self.file.write(END.pack(END_SIGNATURE, ALL_ONES_16, ALL_ONES_16, ALL_ONES_16,
                                 ALL_ONES_16, ALL_ONES_32, ALL_ONES_32, 0))
