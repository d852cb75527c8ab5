#!/usr/bin/env python3
"""Writes a format preset, a .reg file that switches on the formats of some groups.

    format_presets.py FORMATS_H OUT.reg GROUP...

GROUP is PHOTO, VIDEO or RAW, as in FormatGroup. The "Formats" value names the switched rows of
FORMATS[] in those groups, in the table's order, joined by "; " as the installer's /formats
writes it; the launch settings are left alone. The comment line names the formats as a user
knows them: a raw by its extension, the others by their content type's subtype.

The file is what regedit exports: "Windows Registry Editor Version 5.00", ASCII, CRLF lines.
"""
import re
import sys

SETTINGS_KEY = r"HKEY_CURRENT_USER\Software\Vantorel\Quoriel"
FORMATS_SEPARATOR = "; "
GROUP_NOUNS = {"PHOTO": "photos", "VIDEO": "videos", "RAW": "camera raws"}
# Subtypes that users know by another name.
NAMES = {"image/webp": "WebP", "video/quicktime": "MOV", "video/3gpp": "3GP"}

TABLE = re.compile(r"constexpr Format FORMATS\[\] = \{\n(.*?)\n\};", re.S)
ROW = re.compile(r'\s*\{L"([^"]+)", FileKind::\w+, (ALWAYS|SWITCHED), FormatGroup::(\w+)'
                 r'(?:, L"([^"]+)")?\},')


def read_formats(header):
    """The rows of FORMATS[]: (content type, switched, group, extension or None)."""
    with open(header, encoding="utf-8") as file:
        table = TABLE.search(file.read())
    if not table:
        sys.exit(f"format_presets: no FORMATS[] table in {header}")
    rows = []
    for line in table.group(1).splitlines():
        if line.strip().startswith("//"):
            continue
        row = ROW.fullmatch(line)
        if not row:
            sys.exit(f"format_presets: {header}: cannot read the row {line.strip()!r}")
        content_type, switched, group, extension = row.groups()
        if group not in GROUP_NOUNS:
            sys.exit(f"format_presets: {header}: unknown group {group}")
        rows.append((content_type, switched == "SWITCHED", group, extension))
    return rows


def listed(items):
    """"a", "a and b", "a, b and c"."""
    return items[0] if len(items) == 1 else ", ".join(items[:-1]) + " and " + items[-1]


def display_name(content_type, extension):
    if extension:
        return extension.lstrip(".").upper()
    return NAMES.get(content_type, content_type.split("/", 1)[1].upper())


def preset_text(rows, groups):
    chosen = [row for row in rows if row[1] and row[2] in groups]
    phrases = []
    for group in groups:
        names = [display_name(row[0], row[3]) for row in chosen if row[2] == group]
        if not names:
            sys.exit(f"format_presets: no switched formats in group {group}")
        phrases.append(f"{listed(names)} {GROUP_NOUNS[group]}")
    value = FORMATS_SEPARATOR.join(row[0] for row in chosen)
    value = value.replace("\\", "\\\\").replace('"', '\\"')
    lines = ["Windows Registry Editor Version 5.00",
             "",
             f"; Also offer Quoriel for {listed(phrases)}; the launch settings stay as they are",
             f"[{SETTINGS_KEY}]",
             f'"Formats"="{value}"']
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def main(arguments):
    if len(arguments) < 4:
        sys.exit(__doc__)
    header, output, groups = arguments[1], arguments[2], arguments[3:]
    for group in groups:
        if group not in GROUP_NOUNS:
            sys.exit(f"format_presets: unknown group {group}")
    text = preset_text(read_formats(header), groups)
    with open(output, "wb") as file:
        file.write(text)


if __name__ == "__main__":
    main(sys.argv)
