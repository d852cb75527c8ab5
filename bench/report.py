#!/usr/bin/env python3
"""Writes docs/performance.md and its plot from the raw results of bench/compare-readers.sh.
Every figure in the document comes from those results; nothing here is typed in by hand.

Usage: report.py RESULTS_DIR MARKDOWN_OUT PNG_OUT
"""
import csv
import json
import os
import re
import statistics
import subprocess
import sys
from collections import defaultdict

PEERS = ("libexif", "exiv2", "exiftool")
TITLES = {"quoriel": "Quoriel", "libexif": "libexif", "exiv2": "Exiv2", "exiftool": "ExifTool"}
GPS_TAGS = ("GPSLatitudeRef", "GPSLatitude", "GPSLongitudeRef", "GPSLongitude")
OVERHEAD_TARGET_PERCENT = 5.0
NANOSECONDS = 1e9

# One traced call: "PID name(FD</path>, ...) = RESULT". mmap names the descriptor fifth.
TRACE_LINE = re.compile(r"^\d+\s+(\w+)\((.*)\)\s+=\s+(-?\w+)")
DESCRIPTOR = re.compile(r"-?\d+<([^>]*)>")
MMAP_LENGTH = re.compile(r"^[^,]+,\s*(\d+),")


def read_tsv(path):
    with open(path, newline="") as file:
        return list(csv.DictReader(file, delimiter="\t"))


def by_file(rows):
    return {row["file"]: row for row in rows}


def read_machine(path):
    machine = {}
    with open(path) as file:
        for line in file:
            key, _, value = line.partition(": ")
            machine[key.strip()] = value.strip()
    return machine


def traced_bytes(path, files):
    """Bytes each file's reads returned, and bytes mapped from it, summed over the trace."""
    wanted = {os.path.realpath(name): name for name in files}
    read = defaultdict(int)
    mapped = defaultdict(int)
    with open(path, errors="replace") as file:
        for line in file:
            match = TRACE_LINE.match(line)
            if not match:
                continue
            call, arguments, result = match.groups()
            descriptor = DESCRIPTOR.search(arguments)
            if not descriptor or descriptor.group(1) not in wanted:
                continue
            name = os.path.basename(wanted[descriptor.group(1)])
            if call == "mmap":
                length = MMAP_LENGTH.match(arguments)
                mapped[name] += int(length.group(1)) if length else 0
            elif result.lstrip("-").isdigit() and int(result) > 0:
                read[name] += int(result)
    return read, mapped


def exiftool_found(path):
    found = {}
    try:
        with open(path) as file:
            records = json.load(file)
    except (OSError, ValueError):
        return found
    for record in records:
        name = os.path.basename(record.get("SourceFile", ""))
        found[name] = all(tag in record for tag in GPS_TAGS)
    return found


def load(results):
    files = [line.strip() for line in open(os.path.join(results, "files.txt")) if line.strip()]
    names = [os.path.basename(path) for path in files]
    data = {
        "names": names,
        "machine": read_machine(os.path.join(results, "machine.txt")),
        "design": by_file(read_tsv(os.path.join(results, "design.tsv"))),
        "menu": read_tsv(os.path.join(results, "menu.tsv")),
        "rates": {},
        "found": {},
        "bytes": {},
        "mapped": {},
    }
    quoriel = by_file(read_tsv(os.path.join(results, "quoriel.tsv")))
    data["quoriel"] = quoriel
    data["rates"]["quoriel"] = {n: float(quoriel[n]["lookups_per_s"]) for n in names}
    data["found"]["quoriel"] = {n: quoriel[n]["outcome"] == "position" for n in names}
    for peer in ("libexif", "exiv2"):
        rows = by_file(read_tsv(os.path.join(results, peer + ".tsv")))
        data["rates"][peer] = {n: float(rows[n]["lookups_per_s"]) for n in names}
        data["found"][peer] = {n: rows[n]["found"] == "1" for n in names}
    batches = [int(line) for line in open(os.path.join(results, "exiftool-nanoseconds.txt"))]
    batch_seconds = statistics.median(batches) / NANOSECONDS
    data["exiftool_batch"] = (batch_seconds, len(batches))
    data["rates"]["exiftool"] = {n: len(names) / batch_seconds for n in names}
    data["found"]["exiftool"] = exiftool_found(os.path.join(results, "exiftool.json"))
    for reader in ("quoriel",) + PEERS:
        read, mapped = traced_bytes(os.path.join(results, reader + ".strace"), files)
        data["bytes"][reader] = read
        data["mapped"][reader] = mapped
    return data


def number(value, digits=0):
    return f"{value:,.{digits}f}"


def ratio(value):
    return f"{value:,.1f}×" if value >= 10 else f"{value:,.2f}×"


def size_text(size):
    for unit, scale in (("MB", 1 << 20), ("KB", 1 << 10)):
        if size >= scale:
            return f"{size / scale:,.1f} {unit}".replace(".0 ", " ")
    return f"{size} B"


def machine_section(data):
    m = data["machine"]
    return [
        "## Machine",
        "",
        f"- Processor: {m['cpu']} ({m['cpu_mhz']} MHz), {m['nproc']} cores as `nproc` counts them",
        f"- Memory: {m['memory']} (`free -h`)",
        f"- System: {m['os']}, {m['kernel']}; Wine {m['wine'].replace('wine-', '')}",
        f"- Peers: libexif {m['libexif']}, Exiv2 {m['exiv2']}, ExifTool {m['exiftool']} "
        "(Debian's packages)",
        f"- Compilers: {m['compiler']} for the peers' programs; {m['mingw']} for Quoriel",
        f"- Run: {m['date']}, built from the working tree at commit {m['commit']}",
        f"- Load average (1, 5, 15 min) at the start {m['load_start']}, at the end "
        f"{m['load_end']}.",
        "",
        "The machine is shared with other jobs (Wine test runs, fuzzers) on the same two cores, "
        "as the load averages show, so the times carry their noise; the byte counts do not. "
        "Each time is the median of several runs, so that a passing burst of other work does "
        "not decide it, and every ratio compares figures taken in the same run.",
        "",
    ]


def menu_section(data):
    lines = [
        "## Menu build",
        "",
        "`QueryContextMenu` of the built `Quoriel.dll`, loaded with `LoadLibraryW` and made "
        "through `DllGetClassObject` and `CreateInstance`, initialised with a real data object "
        "holding one file, on a real popup menu whose item is removed between calls. Beside it, "
        "in the same rounds, the bare walk any lookup must make: `RegOpenKeyExW` of "
        "HKEY_CLASSES_ROOT, `RegEnumKeyExW` up to the same key (or to the end), then "
        '`RegOpenKeyExW` of the match and `RegQueryValueExW` of its "Content Type". The extra '
        "subkeys are named `.!qbench00000`… so that they sort before `.jpg`; the program checks "
        "that `.jpg` moved down by exactly their number, and removes them at the end. Each call "
        "is timed alone and paired with the other kind's call next to it; a round's overhead is "
        "the median of its pairs' ratios, and the figures are the median of the rounds.",
        "",
        "| extension | extra subkeys | HKCR subkeys | walk stops at | menu item "
        "| calls per round × rounds | ms per menu build | ms per bare walk "
        "| overhead above the walk | rounds' range |",
        "|---|---:|---:|---:|---|---:|---:|---:|---:|---:|",
    ]
    worst = None
    for row in data["menu"]:
        registered = row["registered"] == "1"
        overhead = float(row["overhead_percent"])
        worst = overhead if worst is None else max(worst, overhead)
        lines.append(
            f"| `{row['extension']}` | {number(int(row['extra_keys']))} "
            f"| {number(int(row['hkcr_keys']))} "
            f"| {'index ' + number(int(row['index'])) if registered else 'the end'} "
            f"| {'offered' if registered else 'none'} "
            f"| {row['repetitions']} × {row['rounds']} | {float(row['menu_ms']):.3f} "
            f"| {float(row['walk_ms']):.3f} | {overhead:+.2f} % "
            f"| {float(row['lowest_percent']):+.1f} to {float(row['highest_percent']):+.1f} % |"
        )
    verdict = "under" if worst is not None and worst < OVERHEAD_TARGET_PERCENT else "NOT under"
    lines += [
        "",
        f"The handler's overhead above the walk is at most {worst:+.2f} %, {verdict} the "
        f"{OVERHEAD_TARGET_PERCENT:.0f} % target. The menu build costs what the walk costs: "
        "about one registry call per subkey before the extension.",
        "",
    ]
    return lines


def reading_method(data):
    batch_seconds, batches = data["exiftool_batch"]
    return [
        "## Reading a GPS position",
        "",
        "The same files for every reader: the real corpus (`tests/data/corpus`), JPEGs of "
        "20 KB, 2 MB, 20 MB and 200 MB made at run time with the same Exif block (that of "
        "`DSCN0010.jpg`) at the front and a scan of zero bytes behind it, and two camera-like "
        "files of 6 MB whose Exif block lies behind a JFIF APP0 segment with a thumbnail, or "
        "an ICC profile APP2 segment, each of the largest size (65,535 bytes).",
        "",
        "- **Quoriel**: `position-bench.exe --tsv`, in-process under Wine. A lookup is the "
        "command's reading from the path: `CreateFileW` with the command's flags, the reading "
        "of the open file by its kind (the JPEG locator, then the TIFF reader), `CloseHandle`, "
        "with Wine between it and Linux (each `ReadFile` or `SetFilePointer` a system call, the "
        "open and the close a round trip to the Wine server), while the peers run natively. The "
        "reading shows nothing and launches nothing; what the command does with its result — "
        "the launch of a found position, or the message box when there is none — is not part "
        "of a lookup, since no peer does either. Its `ReadFile`, `SetFilePointer` and "
        "`GetFileSize` calls are counted in the program's import table.",
        "- **libexif** and **Exiv2**: small native programs of ours (`bench/peers/`) "
        "that open the file by path through the library (`exif_data_new_from_file`; "
        "`ImageFactory::open` and `readMetadata`) and take the four fields GPSLatitudeRef, "
        "GPSLatitude, GPSLongitudeRef and GPSLongitude.",
        "- **ExifTool**: `exiftool -fast2 -n -GPSLatitudeRef -GPSLatitude -GPSLongitudeRef "
        f"-GPSLongitude` over all {len(data['names'])} files in one process; its lookups per "
        f"second are the files divided by the median wall time of {batches} such batches "
        f"({batch_seconds:.3f} s), Perl's start included, the same figure for every file.",
        "- **Lookups per second** (Quoriel, libexif, Exiv2): runs of one lookup after another "
        "on the same file, calibrated to about 0.1 s; the program goes round all the files 7 "
        "times, one run of each file a round, and reports each file's median run, so that a "
        "burst of other work on the machine spoils one run of a file, not all of them. The "
        "files stay in the page cache, so this is the readers' own work, not the disk's.",
        "- **Bytes read per lookup**, for every reader alike: one lookup of each file under "
        "`strace -f -y -e trace=read,pread64,readv,preadv,mmap`, summing the return values of "
        "the reads on that file's descriptor (the file's path is beside it). These are the bytes "
        "the process takes from the kernel, so a library's stdio or Perl buffer counts whole. "
        "For Quoriel, Wine turns each `ReadFile` into one `read`; the bytes its counted "
        "`ReadFile` calls returned are shown beside the traced ones. Exiv2 maps TIFF files into "
        "memory whole; the mapped length is shown apart, since how much of it is touched "
        "cannot be traced this way.",
        "- **Design limit**: `bench/design_limit.py` walks each file's structure on "
        "its own and adds up what must be read: the SOI (2), each segment header up to and "
        "including the first APP1 (4 each), the Exif identifier (6), the TIFF header (8), "
        "IFD0's count (2) and its entries up to the GPS pointer (12 each), the GPS directory's "
        "count (2) and entries (12 each), and the latitude's and longitude's RATIONAL triples "
        "(24 each).",
        "",
    ]


def bytes_table(data):
    names, design, quoriel = data["names"], data["design"], data["quoriel"]
    traced = data["bytes"]
    lines = [
        "### Bytes read per lookup",
        "",
        "Beside each peer, its bytes divided by Quoriel's (above 1: the peer reads more).",
        "",
        "| file | size | design limit | Quoriel (traced) | Quoriel (`ReadFile`) "
        "| `ReadFile` calls / seeks | = limit | libexif | Exiv2 | ExifTool |",
        "|---|---:|---:|---:|---:|---:|---|---:|---:|---:|",
    ]
    for name in names:
        own = traced["quoriel"].get(name, 0)
        cells = []
        for peer in PEERS:
            value = traced[peer].get(name, 0)
            mapped = data["mapped"][peer].get(name, 0)
            cell = f"{number(value)} ({ratio(value / own)})" if own else number(value)
            cells.append(cell + (f" + {number(mapped)} mapped" if mapped else ""))
        equal = own == int(design[name]["limit"]) == int(quoriel[name]["bytes_read"])
        lines.append(
            f"| {name} | {size_text(int(design[name]['size']))} "
            f"| {number(int(design[name]['limit']))} | {number(own)} "
            f"| {number(int(quoriel[name]['bytes_read']))} "
            f"| {quoriel[name]['reads']} / {quoriel[name]['seeks']} "
            f"| {'yes' if equal else '**no**'} | " + " | ".join(cells) + " |"
        )
    lines.append("")
    return lines


def rates_table(data):
    names, rates, found = data["names"], data["rates"], data["found"]
    lines = [
        "### Lookups per second",
        "",
        "Beside each peer, Quoriel's rate (a lookup: open, read, close) divided by "
        "the peer's (above 1: Quoriel is faster). The reader alone, on a file opened once, is "
        "shown apart: it leaves out the open and the close, each a round trip to the Wine "
        "server. "
        "Position found: Q Quoriel, L libexif, E Exiv2, X ExifTool; a dash where a reader found "
        "none.",
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
        cells = [f"{number(rates[p][name])} ({ratio(own / rates[p][name])})" for p in PEERS]
        lines.append(
            f"| {name} | {flags} | {number(own)} | {number(reader)} | " + " | ".join(cells) + " |"
        )
    lines.append("")
    return lines


def found_by_both(data, peer):
    """The files on which Quoriel and the peer both found the position."""
    found = data["found"]
    return [n for n in data["names"] if found["quoriel"][n] and found[peer].get(n)]


def summary(data):
    names, design, traced = data["names"], data["design"], data["bytes"]
    quoriel = data["quoriel"]
    equal = [n for n in names if traced["quoriel"].get(n, 0) == int(design[n]["limit"])]
    counted = [n for n in names if traced["quoriel"].get(n, 0) == int(quoriel[n]["bytes_read"])]
    steady = [n for n in names if quoriel[n]["steady"] == "1"]
    same_exif = [n for n in names if n.startswith("exif-")]
    constant = {traced["quoriel"].get(n, 0) for n in same_exif}
    reader_rate = statistics.median(float(quoriel[n]["reader_lookups_per_s"]) for n in names)
    open_share = 100 * statistics.median(
        1 - float(quoriel[n]["lookups_per_s"]) / float(quoriel[n]["reader_lookups_per_s"])
        for n in names
    )
    lines = [
        "### What the run shows",
        "",
        f"- Quoriel read exactly the design limit on {len(equal)} of {len(names)} files"
        + (
            "."
            if len(equal) == len(names)
            else "; not on: " + ", ".join(n for n in names if n not in equal) + "."
        ),
        f"- The traced bytes equal the bytes of the counted `ReadFile` calls on {len(counted)} "
        f"of {len(names)} files, and every timed lookup made the same calls as the first on "
        f"{len(steady)} of {len(names)}.",
        "- On the four files with the same Exif block, from "
        f"{size_text(int(design[same_exif[0]]['size']))} to "
        f"{size_text(int(design[same_exif[-1]]['size']))}, Quoriel read "
        + (
            f"{number(constant.pop())} bytes each time."
            if len(constant) == 1
            else "DIFFERENT amounts: " + ", ".join(str(v) for v in sorted(constant)) + "."
        ),
    ]
    for peer in PEERS:
        ratios = [
            traced[peer].get(n, 0) / traced["quoriel"][n]
            for n in names
            if traced["quoriel"].get(n)
        ]
        both = found_by_both(data, peer)
        speeds = [data["rates"]["quoriel"][n] / data["rates"][peer][n] for n in both]
        lines.append(
            f"- {TITLES[peer]} read {ratio(min(ratios))} to {ratio(max(ratios))} Quoriel's bytes "
            f"(median {ratio(statistics.median(ratios))}). On the {len(both)} files where both "
            f"found the position, Quoriel's lookups per second were {ratio(min(speeds))} to "
            f"{ratio(max(speeds))} {TITLES[peer]}'s (median {ratio(statistics.median(speeds))})."
        )
    lines += [
        "- libexif reads JPEG files only: it finds no position in the TIFF files, whose bytes "
        "it reads all the same, and gives up on them quickly.",
        "- Quoriel reads each structure with a call of its own (the calls and seeks column), "
        "which keeps its bytes at the limit, and each call is a system call under Wine. Its "
        f"reader alone, on a file opened once, made {number(reader_rate)} lookups per second "
        f"(median over the files): opening and closing the file take {open_share:.0f} % of "
        "a lookup.",
        "",
        "![Bytes read per lookup against file size, log-log](performance.png)",
        "",
    ]
    return lines


def plot(data, png):
    """Bytes read per lookup against file size, log-log, through gnuplot."""
    names, design, traced = data["names"], data["design"], data["bytes"]
    readers = ("quoriel",) + PEERS
    table = png + ".dat"
    with open(table, "w") as file:
        for block, members in (
            ("all", names),
            ("same", [n for n in names if n.startswith("exif-")]),
        ):
            file.write(f"# {block}: size limit " + " ".join(readers) + "\n")
            for name in sorted(members, key=lambda n: int(design[n]["size"])):
                values = [str(max(traced[r].get(name, 0), 1)) for r in readers]
                file.write(f"{design[name]['size']} {design[name]['limit']} {' '.join(values)}\n")
            file.write("\n\n")
    # Point type, point size, colour.
    styles = {
        "quoriel": (7, 1.0, "#1b7837"),
        "libexif": (5, 1.1, "#2166ac"),
        "exiv2": (9, 1.3, "#b2182b"),
        "exiftool": (13, 1.3, "#e08214"),
    }
    series = [
        f"'{table}' index 0 using 1:2 with points pt 6 ps 2.6 lc rgb '#444444' "
        "title 'design limit'"
    ]
    for column, reader in enumerate(readers, start=3):
        point, size, colour = styles[reader]
        series.append(
            f"'{table}' index 0 using 1:{column} with points pt {point} ps {size} "
            f"lc rgb '{colour}' title '{TITLES[reader]}'"
        )
        series.append(
            f"'{table}' index 1 using 1:{column} with lines lw 1.5 lc rgb '{colour}' notitle"
        )
    script = "\n".join(
        [
            "set terminal pngcairo size 1100,720 font 'sans,12'",
            f"set output '{png}'",
            "set logscale xy",
            "set format x '10^{%L}'",
            "set format y '10^{%L}'",
            "set xlabel 'file size (bytes)'",
            "set ylabel 'bytes read per lookup'",
            "set title 'Bytes read to find the GPS position, per file and reader "
            "(lines: the same Exif block at 20 KB to 200 MB)'",
            "set key outside right top box",
            "set grid xtics ytics lc rgb '#cccccc'",
            "set xrange [2000:5e8]",
            "set yrange [5:2e6]",
            "plot " + ", \\\n     ".join(series),
        ]
    )
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    os.remove(table)


def main():
    results, markdown, png = sys.argv[1:4]
    data = load(results)
    lines = [
        "# Performance",
        "",
        "Generated by `bench/compare-readers.sh` from one run; do not edit by hand. The raw "
        "results stay in the build folder under `compare-results/`.",
        "",
    ]
    lines += machine_section(data)
    lines += menu_section(data)
    lines += reading_method(data)
    lines += bytes_table(data)
    lines += rates_table(data)
    lines += summary(data)
    with open(markdown, "w") as file:
        file.write("\n".join(lines))
    plot(data, os.path.abspath(png))


if __name__ == "__main__":
    main()
