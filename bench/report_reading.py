"""The reading part of the performance report: Quoriel's file calls, the bytes each reader read
and the lookups a second it made, in tables, and the claims the run bears out, each computed
from the results."""
import statistics

PEERS = ("libexif", "exiv2", "exiftool")
TITLES = {"quoriel": "Quoriel", "libexif": "libexif", "exiv2": "Exiv2", "exiftool": "ExifTool"}
# The kinds as position-bench names them, in the order the report lists them.
KIND_TITLES = {"JPEG": "JPEG", "TIFF": "TIFF", "HEIF": "HEIF", "WEBP": "WebP", "PNG": "PNG"}
# JPEG and TIFF files are read call by call, one ReadFile for each structure; the containers
# through read-ahead, one positioned ReadFile for each block of at most BLOCK bytes.
DIRECT_KINDS = ("JPEG", "TIFF")
BLOCK = 4096
BLOCKS_HELD = 4
# The most calls (ReadFile, SetFilePointer, GetFileSize) a whole lookup may make: for a HEIF
# file (the goal is a phone's HEIC), and for a WebP or PNG file whose Exif block stands ahead of
# the image data. No goal is set for the others.
HEIF_CALL_GOAL = 12
AHEAD_CALL_GOAL = 6
GOAL_SUBJECTS = {
    HEIF_CALL_GOAL: "a HEIF file",
    AHEAD_CALL_GOAL: "a WebP or PNG file whose Exif block stands ahead of the image data",
}
DASH = "—"


def number(value, digits=0):
    return f"{value:,.{digits}f}"


def ratio(value):
    return f"{value:,.1f}×" if value >= 10 else f"{value:,.2f}×"


def span(values):
    low, high = min(values), max(values)
    return number(low) if low == high else f"{number(low)} to {number(high)}"


def size_text(size):
    for unit, scale in (("MB", 1 << 20), ("KB", 1 << 10)):
        if size >= scale:
            return f"{size / scale:,.1f} {unit}".replace(".0 ", " ")
    return f"{size} B"


def table(head, align, rows):
    """A Markdown table: align has one letter a column, l or r."""
    rule = "|" + "|".join("---:" if a == "r" else "---" for a in align) + "|"
    lines = ["| " + " | ".join(str(c) for c in r) + " |" for r in [head] + rows]
    return "\n".join(lines[:1] + [rule] + lines[1:])


def kind_list(kinds, conjunction="and"):
    """"TIFF, HEIF and PNG" for a set of kinds, in the report's order."""
    titles = [KIND_TITLES[k] for k in KIND_TITLES if k in kinds]
    return titles[0] if len(titles) == 1 else f"{', '.join(titles[:-1])} {conjunction} {titles[-1]}"


def same_exif_groups(names):
    """{group: [names]} of the generated same-Exif files, "exif-mdat-*.heic" for
    "exif-mdat-1MB.heic", in the order of their first files."""
    groups = {}
    for name in (n for n in names if n.startswith("exif-")):
        stem, _, extension = name.rpartition(".")
        groups.setdefault(stem.rpartition("-")[0] + "-*." + extension, []).append(name)
    return groups


def peer_kinds(d, peer):
    """The kinds of file in which the peer found a position at least once."""
    return {d["kind"][n] for n in d["names"] if d["found"][peer].get(n)}


def comparable(d, peer, name):
    """Whether a peer's figures on the file can be set beside Quoriel's: it reads files of that
    kind, and it found the position when Quoriel did."""
    return d["kind"][name] in peer_kinds(d, peer) and bool(
        d["found"][peer].get(name) or not d["found"]["quoriel"][name])


def read_ahead(d, name):
    return d["kind"][name] not in DIRECT_KINDS


def calls(row):
    """Every counted file call: ReadFile, SetFilePointer (moves, position queries), GetFileSize."""
    return sum(int(row[k]) for k in ("reads", "seeks", "position_queries", "size_queries"))


def call_goal(d, name):
    """The most calls a lookup of the file may make; None where no goal is set."""
    if d["kind"][name] == "HEIF":
        return HEIF_CALL_GOAL
    ahead = d["design"][name]["exif_place"] == "ahead of the image data"
    return AHEAD_CALL_GOAL if read_ahead(d, name) and ahead else None


def within_blocks(d, name):
    """Whether Quoriel's bytes on a container file stay within its blocks: at most a block for
    each ReadFile, and no single read above a block."""
    row, most = d["quoriel"][name], int(d["quoriel"][name]["reads"]) * BLOCK
    return (d["bytes"]["quoriel"].get(name, 0) <= most and int(row["bytes_requested"]) <= most
            and d["largest"]["quoriel"].get(name, 0) <= BLOCK)


def calls_table(d):
    rows = []
    for name in d["names"]:
        row, goal = d["quoriel"][name], call_goal(d, name)
        if not read_ahead(d, name):
            structures = int(d["design"][name]["structures"])
            goal, met = f"one `ReadFile` a structure: {structures}", int(row["reads"]) == structures
        else:
            met = goal is not None and calls(row) <= goal
            goal = DASH if goal is None else f"≤ {goal}"
        way = f"{number(BLOCK)}-byte blocks" if read_ahead(d, name) else "call by call"
        rows.append([name, KIND_TITLES[d["kind"][name]], size_text(int(d["design"][name]["size"])),
                     way, row["reads"], row["seeks"], row["position_queries"],
                     row["size_queries"], calls(row), goal,
                     DASH if goal == DASH else "yes" if met else "**no**"])
    return table(["file", "kind", "size", "read", "`ReadFile`", "seeks", "position queries",
                  "`GetFileSize`", "calls", "goal", "met"], "llrlrrrrrll", rows)


def reading_cell(d, name):
    """How Quoriel's bytes stand: the design limit exactly, or within the blocks of its calls."""
    traced = d["bytes"]["quoriel"].get(name, 0)
    if not read_ahead(d, name):
        return "= limit" if traced == int(d["design"][name]["limit"]) else "**≠ limit**"
    blocks = int(d["quoriel"][name]["reads"])
    text = f"{blocks} block" + ("s" if blocks != 1 else "")
    if traced == int(d["design"][name]["size"]):
        text += ", the whole file"
    return text if within_blocks(d, name) else f"**{text}, above {number(blocks * BLOCK)}**"


def peer_bytes_cell(d, peer, name):
    own, value = d["bytes"]["quoriel"].get(name, 0), d["bytes"][peer].get(name, 0)
    mapped = d["mapped"][peer].get(name, 0)
    shown = DASH if not comparable(d, peer, name) else ratio(value / own) if own else None
    cell = number(value) + (f" ({shown})" if shown else "")
    return cell + (f" + {number(mapped)} mapped" if mapped else "")


def bytes_table(d):
    rows = [[name, KIND_TITLES[d["kind"][name]], size_text(int(d["design"][name]["size"])),
             number(int(d["design"][name]["limit"])), number(d["bytes"]["quoriel"].get(name, 0)),
             number(int(d["quoriel"][name]["bytes_read"])), reading_cell(d, name)]
            + [peer_bytes_cell(d, peer, name) for peer in PEERS] for name in d["names"]]
    return table(["file", "kind", "size", "design limit", "Quoriel (traced)",
                  "Quoriel (`ReadFile`)", "read", "libexif", "Exiv2", "ExifTool"],
                 "llrrrrlrrr", rows)


def rates_table(d):
    rates, rows = d["rates"], []
    for name in d["names"]:
        own = rates["quoriel"][name]
        flags = "".join(letter if d["found"][reader].get(name) else "-"
                        for letter, reader in zip("QLEX", ("quoriel",) + PEERS))
        rows.append([name, flags, number(own),
                     number(float(d["quoriel"][name]["reader_lookups_per_s"]))] + [
            f"{number(rates[p][name])} "
            f"({ratio(own / rates[p][name]) if comparable(d, p, name) else DASH})" for p in PEERS])
    return table(["file", "position found", "Quoriel", "Quoriel's reader, file opened once",
                  "libexif", "Exiv2", "ExifTool (batch)"], "llrrrrr", rows)


def direct_claim(d):
    names = [n for n in d["names"] if not read_ahead(d, n)]
    design, quoriel, traced = d["design"], d["quoriel"], d["bytes"]["quoriel"]
    off_limit = [n for n in names if traced.get(n, 0) != int(design[n]["limit"])]
    off_calls = [n for n in names if int(quoriel[n]["reads"]) != int(design[n]["structures"])]
    faults = [f"{n} ({traced.get(n, 0) - int(design[n]['limit']):+,} bytes)" for n in off_limit]
    faults += [f"{n} ({int(quoriel[n]['reads']) - int(design[n]['structures']):+} `ReadFile`)"
               for n in off_calls]
    return (f"- On the {len(names)} {kind_list(DIRECT_KINDS)} files, read call by call, Quoriel "
            f"read exactly the design limit on {len(names) - len(off_limit)} of {len(names)} and "
            f"made one `ReadFile` for each structure on {len(names) - len(off_calls)} of "
            f"{len(names)}" + ("; not on: " + ", ".join(faults) if faults else "") + ".")


def read_ahead_claims(d):
    names = [n for n in d["names"] if read_ahead(d, n)]
    if not names:
        return []
    quoriel, traced = d["quoriel"], d["bytes"]["quoriel"]
    lines = [
        f"- On the {len(names)} {kind_list({d['kind'][n] for n in names})} files, read ahead, "
        f"Quoriel made {span([int(quoriel[n]['reads']) for n in names])} `ReadFile` calls, "
        f"{span([int(quoriel[n]['seeks']) + int(quoriel[n]['position_queries']) for n in names])} "
        f"`SetFilePointer` and {span([int(quoriel[n]['size_queries']) for n in names])} "
        f"`GetFileSize` a lookup: {span([calls(quoriel[n]) for n in names])} calls in all. Its "
        f"bytes were at most its `ReadFile` calls × {number(BLOCK)} on "
        f"{len([n for n in names if within_blocks(d, n)])} of {len(names)}, and its largest "
        f"single read was {number(max(d['largest']['quoriel'].get(n, 0) for n in names))} bytes: "
        f"it read {span([traced.get(n, 0) for n in names])} bytes a lookup, in whole blocks or "
        "up to the file's end, for design limits of "
        f"{span([int(d['design'][n]['limit']) for n in names])} bytes."
    ]
    goals = {}
    for name in (n for n in names if call_goal(d, n) is not None):
        goals.setdefault(call_goal(d, name), []).append(name)
    for goal, members in sorted(goals.items(), reverse=True):
        met = [n for n in members if calls(quoriel[n]) <= goal]
        lines.append(f"- Goal of {goal} calls or fewer for {GOAL_SUBJECTS[goal]}: met on "
                     f"{len(met)} of {len(members)} ("
                     + ", ".join(f"{n} {calls(quoriel[n])}" for n in members) + ").")
    return lines


def same_exif_claims(d):
    lines = []
    for group, members in same_exif_groups(d["names"]).items():
        members = sorted(members, key=lambda n: int(d["design"][n]["size"]))
        reads = sorted({(d["bytes"]["quoriel"].get(n, 0), calls(d["quoriel"][n]))
                        for n in members})
        read = ", ".join(f"{number(size)} bytes in {count} calls" for size, count in reads)
        read = f"{read} each time." if len(reads) == 1 else f"DIFFERENT amounts: {read}."
        lines.append(
            f"- On the {len(members)} files `{group}` with the same Exif block, from "
            f"{size_text(int(d['design'][members[0]]['size']))} to "
            f"{size_text(int(d['design'][members[-1]]['size']))}, Quoriel read {read}")
    return lines


def peer_claims(d, peer):
    names, traced, found, title = d["names"], d["bytes"], d["found"], TITLES[peer]
    compared = [n for n in names if comparable(d, peer, n) and traced["quoriel"].get(n)]
    ratios = [traced[peer].get(n, 0) / traced["quoriel"][n] for n in compared]
    both = [n for n in names if found["quoriel"][n] and found[peer].get(n)]
    speeds = [d["rates"]["quoriel"][n] / d["rates"][peer][n] for n in both]
    lines = [
        f"- {title} read {ratio(min(ratios))} to {ratio(max(ratios))} Quoriel's bytes "
        f"(median {ratio(statistics.median(ratios))}) on the {len(compared)} files it can be "
        f"compared on. On the {len(both)} files where both found the position, Quoriel's "
        f"lookups per second were {ratio(min(speeds))} to {ratio(max(speeds))} {title}'s "
        f"(median {ratio(statistics.median(speeds))})."
    ]
    present = {d["kind"][n] for n in names}
    unread = [k for k in KIND_TITLES if k in present and k not in peer_kinds(d, peer)]
    missed = [n for n in names if found["quoriel"][n] and not found[peer].get(n)
              and d["kind"][n] not in unread]
    if unread:
        lines.append(f"- {title} found no position in any {kind_list(unread, 'or')} file, whose "
                     "bytes it reads all the same.")
    if missed:
        lines.append(f"- {title} found no position in {', '.join(missed)}, where Quoriel did.")
    return lines


def claims(d):
    names, quoriel = d["names"], d["quoriel"]
    counted = [n for n in names if d["bytes"]["quoriel"].get(n, 0) == int(quoriel[n]["bytes_read"])]
    steady = [n for n in names if quoriel[n]["steady"] == "1"]
    reader_rate = statistics.median(float(quoriel[n]["reader_lookups_per_s"]) for n in names)
    open_share = 100 * statistics.median(
        1 - float(quoriel[n]["lookups_per_s"]) / float(quoriel[n]["reader_lookups_per_s"])
        for n in names)
    lines = [direct_claim(d)] + read_ahead_claims(d) + [
        f"- The traced bytes equal the bytes of the counted `ReadFile` calls on {len(counted)} "
        f"of {len(names)} files, and every timed lookup made the same calls as the first on "
        f"{len(steady)} of {len(names)}."
    ] + same_exif_claims(d)
    for peer in PEERS:
        lines += peer_claims(d, peer)
    lines.append(
        "- Each counted call is a system call under Wine: the JPEG and TIFF readings make one "
        "for each structure, each move and each position query, the containers' one for each "
        f"block and one for the file's size. Quoriel's reader alone, on a file opened once, made "
        f"{number(reader_rate)} lookups per second (median over the files): opening and closing "
        f"the file take {open_share:.0f} % of a lookup.")
    return "\n".join(lines)
