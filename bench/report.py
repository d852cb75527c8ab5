#!/usr/bin/env python3
"""Writes docs/performance.md and its plot from the raw results of bench/compare-readers.sh.
Every figure it writes comes from those results; nothing here is typed in by hand. Hand-written
sections at the end of the document, from the line HAND_WRITTEN_MARKER on, are carried over.

Usage: report.py RESULTS_DIR MARKDOWN_OUT PNG_OUT
"""
import csv
import json
import os
import re
import statistics
import sys
from collections import defaultdict

from report_format import PEERS
from report_menu import machine_section, menu_section
from report_plot import plot
from report_reading import bytes_table, calls_table, rates_table, reading_method
from report_summary import summary

GPS_TAGS = ("GPSLatitudeRef", "GPSLatitude", "GPSLongitudeRef", "GPSLongitude")
NANOSECONDS = 1e9
# Opens the hand-written part of docs/performance.md: figures of other runs, kept as they are.
HAND_WRITTEN_MARKER = "<!-- Hand-written from here on"

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
    """Bytes each file's reads returned, and bytes mapped from it, summed over the trace; and the
    most one read returned."""
    wanted = {os.path.realpath(name): name for name in files}
    read = defaultdict(int)
    mapped = defaultdict(int)
    largest = defaultdict(int)
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
                largest[name] = max(largest[name], int(result))
    return read, mapped, largest


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
        "largest": {},
    }
    quoriel = by_file(read_tsv(os.path.join(results, "quoriel.tsv")))
    data["quoriel"] = quoriel
    data["kind"] = {n: quoriel[n]["kind"] for n in names}
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
        read, mapped, largest = traced_bytes(os.path.join(results, reader + ".strace"), files)
        data["bytes"][reader] = read
        data["mapped"][reader] = mapped
        data["largest"][reader] = largest
    return data


def hand_written_part(markdown):
    """The document's hand-written sections, from the marker to the end; "" when it has none."""
    try:
        with open(markdown) as file:
            text = file.read()
    except OSError:
        return ""
    at = text.find(HAND_WRITTEN_MARKER)
    return "" if at < 0 else text[at:]


def main():
    results, markdown, png = sys.argv[1:4]
    data = load(results)
    kept = hand_written_part(markdown)
    lines = [
        "# Performance",
        "",
        "Generated by `bench/compare-readers.sh` from one run; do not edit by hand, except the "
        "hand-written sections at the end, which it keeps. The raw results stay in the build "
        "folder under `compare-results/`.",
        "",
    ]
    lines += machine_section(data)
    lines += menu_section(data)
    lines += reading_method(data)
    lines += calls_table(data)
    lines += bytes_table(data)
    lines += rates_table(data)
    lines += summary(data)
    if kept:
        while lines and not lines[-1]:
            lines.pop()
        lines += ["", kept.rstrip("\n")]
    with open(markdown, "w") as file:
        file.write("\n".join(lines) + ("\n" if kept else ""))
    plot(data, os.path.abspath(png))


if __name__ == "__main__":
    main()
