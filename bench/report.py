#!/usr/bin/env python3
"""Writes docs/performance.md and its plot from the raw results of `bench.sh compare`, filling
the document's text (performance.md.in) with the figures. Every figure comes from the results;
nothing here is typed in by hand. Hand-written sections at the end of the document, from the
line HAND_WRITTEN_MARKER on, are carried over.

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

from report_menu import menu_fields
from report_reading import (AHEAD_CALL_GOAL, BLOCK, BLOCKS_HELD, DASH, HEIF_CALL_GOAL, PEERS,
                            TITLES, bytes_table, calls_table, claims, rates_table, read_ahead,
                            same_exif_groups)

GPS_TAGS = ("GPSLatitudeRef", "GPSLatitude", "GPSLongitudeRef", "GPSLongitude")
NANOSECONDS = 1e9
TEMPLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "performance.md.in")
# Opens the hand-written part of docs/performance.md: figures of other runs, kept as they are.
HAND_WRITTEN_MARKER = "<!-- Hand-written from here on"

# One traced call: "PID name(FD</path>, ...) = RESULT". mmap names the descriptor fifth.
TRACE_LINE = re.compile(r"^\d+\s+(\w+)\((.*)\)\s+=\s+(-?\w+)")
DESCRIPTOR = re.compile(r"-?\d+<([^>]*)>")
MMAP_LENGTH = re.compile(r"^[^,]+,\s*(\d+),")

# The plot's point type, point size and colour of each reader; Quoriel's files read call by call
# (JPEG, TIFF) and those read ahead (the containers) are two series of its colour.
STYLES = {"libexif": (5, 1.1, "#2166ac"), "exiv2": (9, 1.3, "#b2182b"),
          "exiftool": (13, 1.3, "#e08214"), "quoriel": (7, 1.0, "#1b7837")}
QUORIEL_WAYS = ((7, 1.0, "call by call", 0), (11, 1.3, "4 KiB blocks", 1))
PLOT_SETTINGS = "\n".join([
    "set terminal pngcairo size 1100,720 font 'sans,12'", "set logscale xy",
    "set format x '10^{%L}'", "set format y '10^{%L}'", "set xlabel 'file size (bytes)'",
    "set ylabel 'bytes read per lookup'",
    "set title 'Bytes read to find the GPS position, per file and reader "
    "(lines: one Exif block at several sizes)'",
    "set key outside right top box", "set grid xtics ytics lc rgb '#cccccc'",
    "set xrange [100:5e8]", "set yrange [5:3e8]", ""])


def read_tsv(results, name, by_file=True):
    """The rows of a results file, by their file column unless by_file is false."""
    with open(os.path.join(results, name), newline="") as file:
        rows = list(csv.DictReader(file, delimiter="\t"))
    return {row["file"]: row for row in rows} if by_file else rows


def read_machine(path):
    with open(path) as file:
        pairs = [line.partition(": ") for line in file]
    machine = {key.strip(): value.strip() for key, _, value in pairs}
    machine["wine"] = machine["wine"].replace("wine-", "")
    return machine


def traced_bytes(path, files):
    """Bytes each file's reads returned, and bytes mapped from it, summed over the trace; and the
    most one read returned."""
    wanted = {os.path.realpath(name): os.path.basename(name) for name in files}
    read, mapped, largest = defaultdict(int), defaultdict(int), defaultdict(int)
    with open(path, errors="replace") as file:
        for match in filter(None, map(TRACE_LINE.match, file)):
            call, arguments, result = match.groups()
            descriptor = DESCRIPTOR.search(arguments)
            if not descriptor or descriptor.group(1) not in wanted:
                continue
            name = wanted[descriptor.group(1)]
            if call == "mmap":
                length = MMAP_LENGTH.match(arguments)
                mapped[name] += int(length.group(1)) if length else 0
            elif result.lstrip("-").isdigit() and int(result) > 0:
                read[name] += int(result)
                largest[name] = max(largest[name], int(result))
    return read, mapped, largest


def exiftool_found(path):
    try:
        with open(path) as file:
            records = json.load(file)
    except (OSError, ValueError):
        return {}
    return {os.path.basename(r.get("SourceFile", "")): all(t in r for t in GPS_TAGS)
            for r in records}


def load(results):
    with open(os.path.join(results, "files.txt")) as file:
        files = [line.strip() for line in file if line.strip()]
    names = [os.path.basename(path) for path in files]
    quoriel = read_tsv(results, "quoriel.tsv")
    d = {
        "names": names,
        "machine": read_machine(os.path.join(results, "machine.txt")),
        "design": read_tsv(results, "design.tsv"),
        "menu": read_tsv(results, "menu.tsv", by_file=False),
        "quoriel": quoriel,
        "kind": {n: quoriel[n]["kind"] for n in names},
        "rates": {"quoriel": {n: float(quoriel[n]["lookups_per_s"]) for n in names}},
        "found": {"quoriel": {n: quoriel[n]["outcome"] == "position" for n in names}},
        "bytes": {}, "mapped": {}, "largest": {},
    }
    for peer in ("libexif", "exiv2"):
        rows = read_tsv(results, peer + ".tsv")
        d["rates"][peer] = {n: float(rows[n]["lookups_per_s"]) for n in names}
        d["found"][peer] = {n: rows[n]["found"] == "1" for n in names}
    with open(os.path.join(results, "exiftool-nanoseconds.txt")) as file:
        batches = [int(line) for line in file]
    d["batch_seconds"], d["batches"] = statistics.median(batches) / NANOSECONDS, len(batches)
    d["rates"]["exiftool"] = {n: len(names) / d["batch_seconds"] for n in names}
    d["found"]["exiftool"] = exiftool_found(os.path.join(results, "exiftool.json"))
    for reader in ("quoriel",) + PEERS:
        traced = traced_bytes(os.path.join(results, reader + ".strace"), files)
        d["bytes"][reader], d["mapped"][reader], d["largest"][reader] = traced
    return d


def write_plot_table(d, path, readers):
    """Block 0: every file; then one block for each group of same-Exif files. Columns: size,
    limit, 1 when read ahead, then each reader's bytes."""
    blocks = [d["names"]] + list(same_exif_groups(d["names"]).values())
    with open(path, "w") as file:
        for members in blocks:
            for name in sorted(members, key=lambda n: int(d["design"][n]["size"])):
                values = " ".join(str(max(d["bytes"][r].get(name, 0), 1)) for r in readers)
                file.write(f"{d['design'][name]['size']} {d['design'][name]['limit']} "
                           f"{int(read_ahead(d, name))} {values}\n")
            file.write("\n\n")
    return len(blocks)


def plot(d, png):
    """Bytes read per lookup against file size, log-log, through gnuplot."""
    readers = ("quoriel",) + PEERS
    data = png + ".dat"
    blocks = write_plot_table(d, data, readers)
    series = [f"'{data}' index 0 using 1:2 with points pt 6 ps 2.6 lc rgb '#444444' "
              "title 'design limit'", f"{BLOCK} with lines dt 2 lc rgb '#888888' title 'one block'"]
    # Quoriel's points last, so that the peers' do not hide them where both read a whole file.
    for reader, (point, size, colour) in STYLES.items():
        column = readers.index(reader) + 4
        if reader != "quoriel":
            series.append(f"'{data}' index 0 using 1:{column} with points pt {point} ps {size} "
                          f"lc rgb '{colour}' title '{TITLES[reader]}'")
        series += [f"'{data}' index 0 using 1:(column(3) == {ahead} ? column({column}) : 1/0) "
                   f"with points pt {way_point} ps {way_size} lc rgb '{colour}' "
                   f"title 'Quoriel, {way}'"
                   for way_point, way_size, way, ahead in QUORIEL_WAYS if reader == "quoriel"]
        series += [f"'{data}' index {block} using 1:{column} with lines lw 1.5 "
                   f"lc rgb '{colour}' notitle" for block in range(1, blocks)]
    script = PLOT_SETTINGS + f"set output '{png}'\nplot " + ", \\\n     ".join(series)
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    os.remove(data)


def unwrapped(text):
    """The template's text with each line that starts with two spaces joined to the one
    before, so that a paragraph or a list item is one line of the document."""
    return re.sub(r"\n  (?=\S)", " ", text)


def hand_written_part(markdown):
    """The document's hand-written sections, from the marker to the end; "" when it has none."""
    try:
        with open(markdown) as file:
            text = file.read()
    except OSError:
        return ""
    return text[text.find(HAND_WRITTEN_MARKER):] if HAND_WRITTEN_MARKER in text else ""


def main():
    results, markdown, png = sys.argv[1:4]
    d = load(results)
    with open(TEMPLATE) as file:
        template = unwrapped(file.read())
    text = template.format(
        **d["machine"], **menu_fields(d["menu"]), block=BLOCK, blocks_held=BLOCKS_HELD,
        heif_goal=HEIF_CALL_GOAL, ahead_goal=AHEAD_CALL_GOAL, files=len(d["names"]),
        batches=d["batches"], batch_seconds=d["batch_seconds"], dash=DASH,
        calls_table=calls_table(d), bytes_table=bytes_table(d), rates_table=rates_table(d),
        claims=claims(d))
    kept = hand_written_part(markdown)
    with open(markdown, "w") as file:
        file.write(text + ("\n" + kept.rstrip("\n") + "\n" if kept else ""))
    plot(d, os.path.abspath(png))


if __name__ == "__main__":
    main()
