"""Reads a package's ZIP structure from its bytes, independently of the writer, for the layout
checks of check_package.py: the end records and the entries in directory and stream order."""
import struct

END = struct.Struct("<4sHHHHIIH")
ZIP64_LOCATOR = struct.Struct("<4sIQI")
ZIP64_END = struct.Struct("<4sQHHIIQQQQ")
CENTRAL_HEADER = struct.Struct("<4sHHHHHHIIIHHHHHII")
ZIP64_EXTRA_ID = 0x0001
ALL_ONES_16, ALL_ONES_32 = 0xFFFF, 0xFFFFFFFF


class Layout:
    def __init__(self, data):
        self.problems = []
        self.zip64 = None
        end = END.unpack_from(data, len(data) - END.size)
        self.expect(end[0] == b"PK\x05\x06", "no end record without comment at the file's end")
        _, _, _, _, count, size, offset, _ = end
        locator_at = len(data) - END.size - ZIP64_LOCATOR.size
        locator = ZIP64_LOCATOR.unpack_from(data, locator_at)
        if locator[0] == b"PK\x06\x07":
            self.read_zip64(data, locator, locator_at, (count, size, offset))
        else:
            self.problems.append("no ZIP64 end of central directory locator before the end record")
            self.directory = (count, size, offset)
        self.entries = self.read_directory(data)

    def expect(self, condition, message):
        if not condition:
            self.problems.append(message)

    def read_zip64(self, data, locator, locator_at, classic):
        _, disk, record_at, disks = locator
        self.expect(disk == 0 and disks == 1, f"locator: disk {disk} of {disks}")
        record = ZIP64_END.unpack_from(data, record_at)
        signature, record_size, _, needed, disk, start_disk, here, total, size, offset = record
        self.expect(signature == b"PK\x06\x06", f"locator points at {record_at}, no ZIP64 record")
        self.expect(record_at + ZIP64_END.size == locator_at,
                    "bytes between the ZIP64 end record and its locator")
        self.expect(record_size == ZIP64_END.size - 12, f"ZIP64 end record size {record_size}")
        self.expect(needed >= 45 and disk == 0 and start_disk == 0,
                    f"ZIP64 end record: version {needed}, disks {disk} {start_disk}")
        self.expect(here == total, f"ZIP64 end record: {here} entries here, {total} in all")
        self.expect(offset + size == record_at, "the central directory does not end where the "
                    "ZIP64 end record starts")
        # The classic record repeats each value or says "see the ZIP64 record".
        for name, value, own, ones in (("entries", classic[0], total, ALL_ONES_16),
                                       ("directory size", classic[1], size, ALL_ONES_32),
                                       ("directory offset", classic[2], offset, ALL_ONES_32)):
            self.expect(value in (own, ones), f"end record {name} {value}, ZIP64 says {own}")
        self.zip64 = record
        self.directory = (total, size, offset)

    def read_directory(self, data):
        """(name, local header offset) in directory order."""
        count, _, position = self.directory
        entries = []
        for _ in range(count):
            header = CENTRAL_HEADER.unpack_from(data, position)
            if header[0] != b"PK\x01\x02":
                self.problems.append(f"no central directory header at {position}")
                break
            name_length, extra_length, comment_length = header[10:13]
            offset = header[16]
            start = position + CENTRAL_HEADER.size
            name = data[start:start + name_length].decode("utf-8")
            if offset == ALL_ONES_32:
                offset = zip64_offset(data[start + name_length:
                                           start + name_length + extra_length], header)
            entries.append((name, offset))
            position = start + name_length + extra_length + comment_length
        return entries


def zip64_offset(extra, header):
    """The local header offset from a ZIP64 extra field; the fields before it appear only when
    their header field is all ones."""
    at = 0
    while at + 4 <= len(extra):
        kind, size = struct.unpack_from("<HH", extra, at)
        if kind == ZIP64_EXTRA_ID:
            skip = 8 * sum(1 for value in (header[9], header[8]) if value == ALL_ONES_32)
            return struct.unpack_from("<Q", extra, at + 4 + skip)[0]
        at += 4 + size
    raise LookupError("a header's offset is all ones without a ZIP64 extra field")
