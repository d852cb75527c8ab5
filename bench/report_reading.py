"""The reading section of the performance report: how the GPS lookups were measured, Quoriel's
file calls, the bytes each reader read and the lookups a second it made."""
from report_format import (
    BLOCK,
    BLOCKS_HELD,
    DASH,
    EXIF_AHEAD_CALL_GOAL,
    HEIF_CALL_GOAL,
    KIND_TITLES,
    PEERS,
    call_goal,
    calls,
    comparable,
    number,
    ratio,
    read_ahead,
    size_text,
    within_blocks,
)


def reading_method(data):
    batch_seconds, batches = data["exiftool_batch"]
    return [
        "## Reading a GPS position",
        "",
        "The same files for every reader: the real corpus (`tests/data/corpus`), the files of "
        "the other container formats that real tools wrote (`tests/data/formats`: HEIC and "
        "AVIF by heif-enc, WebP by cwebp, PNG, each with its Exif block written by ExifTool), "
        "and files made at run time. Those are JPEGs of 20 KB, 2 MB, 20 MB and 200 MB with the "
        "same Exif block (that of `DSCN0010.jpg`) at the front and a scan of zero bytes behind "
        "it; two camera-like files of 6 MB whose Exif block lies behind a JFIF APP0 segment "
        "with a thumbnail, or an ICC profile APP2 segment, each of the largest size (65,535 "
        "bytes); and the HEIC, WebP and PNG samples grown to 1 MB and 200 MB by "
        "`bench/grow_samples.py`, with their Exif block and structure kept and zero bytes added "
        "behind the image data: a larger mdat after meta (`exif-*.heic`, as ExifTool wrote it) "
        "or before it (`exif-mdat-*.heic`, item offsets moved to match), a larger VP8 chunk "
        "ahead of EXIF with the RIFF size fixed, and one larger IDAT with eXIf moved behind it "
        "(the chunk count stays the same; a reader walks every chunk header up to eXIf, so more "
        "IDAT chunks would mean more bytes read).",
        "",
        "- **Quoriel**: `position-bench.exe --tsv`, in-process under Wine. A lookup is the "
        "command's reading from the path: `CreateFileW` with the command's flags, the reading "
        "of the open file by its kind (the JPEG, HEIF, WebP or PNG locator, then the TIFF "
        "reader), `CloseHandle`, with Wine between it and Linux (each `ReadFile`, "
        "`SetFilePointer` or `GetFileSize` a system call, the open and the close a round trip "
        "to the Wine server), while the peers run natively. The reading shows nothing and "
        "launches nothing; what the command does with its result — the launch of a found "
        "position, or the message box when there is none — is not part of a lookup, since no "
        "peer does either. Its `ReadFile`, `SetFilePointer` and `GetFileSize` calls over the "
        "whole lookup are counted in the program's import table; their sum is its calls.",
        "- **Two ways of reading.** JPEG and TIFF files are read call by call, as they always "
        "have been: each structure with a `ReadFile` of its own, each move and each query of "
        "the position with a `SetFilePointer`. The containers (HEIF, WebP, PNG) are read "
        "ahead: the walk's small reads come out of blocks of "
        f"{number(BLOCK)} bytes, each filled by one positioned `ReadFile` (an `OVERLAPPED` "
        "offset on the synchronous handle, a `pread64` under Wine) the first time a read needs "
        "it; moves make no call, the file's size is asked once, and at most "
        f"{BLOCKS_HELD} blocks are held at once. A block starts where the read "
        "that needs it starts, not at an aligned offset, so what it takes depends on where the "
        "structures lie relative to each other, not on the file's size; near the file's end it "
        "is cut short.",
        f"- **Goals for the calls of a whole lookup**: a phone's HEIC (`IMG_5195.HEIC`) in "
        f"{HEIF_CALL_GOAL} or fewer, held here to every HEIF file; a WebP or PNG whose Exif "
        f"block stands ahead of the image data in {EXIF_AHEAD_CALL_GOAL} or fewer. None is set "
        "for a WebP or PNG whose Exif block stands behind the image data. For JPEG and TIFF the "
        "goal is the reading as it was: one `ReadFile` for each structure the design walk "
        "counts, and the design limit's bytes exactly.",
        "- **libexif** and **Exiv2**: small native programs of ours (`bench/peers/`) "
        "that open the file by path through the library (`exif_data_new_from_file`; "
        "`ImageFactory::open` and `readMetadata`, with Exiv2's BMFF reader switched on for "
        "HEIF and AVIF) and take the four fields GPSLatitudeRef, GPSLatitude, GPSLongitudeRef "
        "and GPSLongitude.",
        "- **ExifTool**: `exiftool -fast -n -GPSLatitudeRef -GPSLatitude -GPSLongitudeRef "
        f"-GPSLongitude` over all {len(data['names'])} files in one process; its lookups per "
        f"second are the files divided by the median wall time of {batches} such batches "
        f"({batch_seconds:.3f} s), Perl's start included, the same figure for every file. "
        "(`-fast2` finds no position where eXIf follows a PNG's IDAT, where mdat comes before "
        "meta, nor in the iPhone HEIC; on the JPEG and TIFF files it reads what `-fast` reads.)",
        "- **Lookups per second** (Quoriel, libexif, Exiv2): runs of one lookup after another "
        "on the same file, calibrated to about 0.1 s; the program goes round all the files 7 "
        "times, one run of each file a round, and reports each file's median run, so that a "
        "burst of other work on the machine spoils one run of a file, not all of them. The "
        "files stay in the page cache, so this is the readers' own work, not the disk's.",
        "- **Bytes read per lookup**, for every reader alike: one lookup of each file under "
        "`strace -f -y -e trace=read,pread64,readv,preadv,mmap`, summing the return values of "
        "the reads on that file's descriptor (the file's path is beside it). These are the bytes "
        "the process takes from the kernel, so a library's stdio or Perl buffer counts whole. "
        "For Quoriel, Wine turns each `ReadFile` into one `read` or `pread64`; the bytes its "
        "counted `ReadFile` calls returned are shown beside the traced ones. Mapped lengths "
        "(Exiv2 maps TIFF files into memory whole) are shown apart, since how much of a mapping "
        "is touched cannot be traced this way.",
        "- **Design limit**: `bench/design_limit.py` walks each file's structure on "
        "its own and adds up the bytes of the structures the reading needs, its logical reads. "
        "A JPEG or TIFF reading reads exactly those; a container's reading reads them out of "
        "whole blocks, so its bytes are the blocks' and the limit is what lies within them. "
        "For a JPEG: the SOI (2), each segment header up "
        "to and including the first APP1 (4 each), the Exif identifier (6). For HEIF "
        "(`bench/design_containers.py`): the top-level box headers up to meta (8 each), meta's "
        "version and flags (4), its children's headers in order until iinf and iloc have both "
        "come (8 each), iinf's version, flags and count, each entry's header and, of each "
        "`infe`, version, flags, item ID, protection index and item type; in iloc its version, "
        "flags, field sizes and count, the ID and extent count of each entry before the Exif "
        "item's, and all the fields of the Exif item's; then the item's 4-byte skip count, the "
        "skipped bytes unread. With one Exif item neither the primary item (pitm) nor the "
        "references (iref) are needed. For WebP: the RIFF header (12), each chunk header up to "
        "EXIF's (8 each), and the Exif identifier (6) where the payload has one; where it has "
        "none the TIFF header's own first bytes tell so. For PNG: the signature (8) and each "
        "chunk header up to eXIf's (8 each), the CRCs unread. Then, for every kind, the TIFF "
        "header (8), IFD0's count (2) and its entries up to the GPS pointer (12 each), the GPS "
        "directory's count (2) and entries (12 each), and the latitude's and longitude's "
        "RATIONAL triples (24 each). Each of those is one structure.",
        "",
    ]


def peer_bytes_cell(data, peer, name):
    traced = data["bytes"]
    own = traced["quoriel"].get(name, 0)
    value = traced[peer].get(name, 0)
    mapped = data["mapped"][peer].get(name, 0)
    if not comparable(data, peer, name):
        cell = f"{number(value)} ({DASH})"
    else:
        cell = f"{number(value)} ({ratio(value / own)})" if own else number(value)
    return cell + (f" + {number(mapped)} mapped" if mapped else "")


def calls_cells(data, name):
    """The goal of a lookup's calls and whether it was met."""
    row = data["quoriel"][name]
    if not read_ahead(data, name):
        structures = int(data["design"][name]["structures"])
        met = int(row["reads"]) == structures
        return f"one `ReadFile` a structure: {structures}", "yes" if met else "**no**"
    goal = call_goal(data, name)
    if goal is None:
        return DASH, DASH
    return f"≤ {goal}", "yes" if calls(row) <= goal else "**no**"


def calls_table(data):
    lines = [
        "### Quoriel's file calls per lookup",
        "",
        "`SetFilePointer` is split into the moves (seeks) and the position queries.",
        "",
        "| file | kind | size | read | `ReadFile` | seeks | position queries | `GetFileSize` "
        "| calls | goal | met |",
        "|---|---|---:|---|---:|---:|---:|---:|---:|---|---|",
    ]
    for name in data["names"]:
        row = data["quoriel"][name]
        goal, met = calls_cells(data, name)
        way = f"{number(BLOCK)}-byte blocks" if read_ahead(data, name) else "call by call"
        lines.append(
            f"| {name} | {KIND_TITLES[data['kind'][name]]} "
            f"| {size_text(int(data['design'][name]['size']))} | {way} | {row['reads']} "
            f"| {row['seeks']} | {row['position_queries']} | {row['size_queries']} "
            f"| {calls(row)} | {goal} | {met} |"
        )
    lines.append("")
    return lines


def reading_cell(data, name):
    """How Quoriel's bytes stand: the design limit exactly, or within the blocks of its calls."""
    traced = data["bytes"]["quoriel"].get(name, 0)
    if not read_ahead(data, name):
        return "= limit" if traced == int(data["design"][name]["limit"]) else "**≠ limit**"
    blocks = int(data["quoriel"][name]["reads"])
    text = f"{blocks} block" + ("s" if blocks != 1 else "")
    if traced == int(data["design"][name]["size"]):
        text += ", the whole file"
    return text if within_blocks(data, name) else f"**{text}, above {number(blocks * BLOCK)}**"


def bytes_table(data):
    names, design, quoriel = data["names"], data["design"], data["quoriel"]
    traced = data["bytes"]
    lines = [
        "### Bytes read per lookup",
        "",
        "Read: for JPEG and TIFF whether Quoriel read the design limit exactly; for the "
        f"containers the blocks it read, each of at most {number(BLOCK)} bytes. Beside each "
        "peer, its bytes divided by Quoriel's (above 1: the peer reads more); "
        f"{DASH} where the peer reads no file of that kind, or found no position where "
        "Quoriel found one.",
        "",
        "| file | kind | size | design limit | Quoriel (traced) | Quoriel (`ReadFile`) "
        "| read | libexif | Exiv2 | ExifTool |",
        "|---|---|---:|---:|---:|---:|---|---:|---:|---:|",
    ]
    for name in names:
        own = traced["quoriel"].get(name, 0)
        cells = [peer_bytes_cell(data, peer, name) for peer in PEERS]
        lines.append(
            f"| {name} | {KIND_TITLES[data['kind'][name]]} "
            f"| {size_text(int(design[name]['size']))} "
            f"| {number(int(design[name]['limit']))} | {number(own)} "
            f"| {number(int(quoriel[name]['bytes_read']))} "
            f"| {reading_cell(data, name)} | " + " | ".join(cells) + " |"
        )
    lines.append("")
    return lines


def rates_table(data):
    names, rates, found = data["names"], data["rates"], data["found"]
    lines = [
        "### Lookups per second",
        "",
        "Beside each peer, Quoriel's rate (a lookup: open, read, close) divided by "
        f"the peer's (above 1: Quoriel is faster); {DASH} as above. The reader alone, on a file "
        "opened once, is shown apart: it leaves out the open and the close, each a round trip "
        "to the Wine server. Position found: Q Quoriel, L libexif, E Exiv2, X ExifTool; a dash "
        "where a reader found none.",
        "",
        "| file | position found | Quoriel | Quoriel's reader, file opened once "
        "| libexif | Exiv2 | ExifTool (batch) |",
        "|---|---|---:|---:|---:|---:|---:|",
    ]
    for name in names:
        own = rates["quoriel"][name]
        reader = float(data["quoriel"][name]["reader_lookups_per_s"])
        flags = "".join(
            letter if found[reader_name].get(name) else "-"
            for letter, reader_name in zip("QLEX", ("quoriel",) + PEERS)
        )
        cells = [
            f"{number(rates[p][name])} "
            f"({ratio(own / rates[p][name]) if comparable(data, p, name) else DASH})"
            for p in PEERS
        ]
        lines.append(
            f"| {name} | {flags} | {number(own)} | {number(reader)} | " + " | ".join(cells) + " |"
        )
    lines.append("")
    return lines
