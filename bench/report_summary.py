"""What the run shows: the claims of the performance report, each computed from the results."""
import statistics

from report_format import (
    BLOCK,
    DIRECT_KINDS,
    GOAL_SUBJECTS,
    KINDS,
    PEERS,
    TITLES,
    call_goal,
    calls,
    comparable,
    kind_list,
    moves,
    number,
    peer_kinds,
    ratio,
    read_ahead,
    same_exif_groups,
    size_text,
    within_blocks,
)


def span(values):
    low, high = min(values), max(values)
    return number(low) if low == high else f"{number(low)} to {number(high)}"


def direct_claim(data):
    names = [n for n in data["names"] if not read_ahead(data, n)]
    design, quoriel, traced = data["design"], data["quoriel"], data["bytes"]["quoriel"]
    off_limit = [n for n in names if traced.get(n, 0) != int(design[n]["limit"])]
    off_calls = [n for n in names if int(quoriel[n]["reads"]) != int(design[n]["structures"])]
    text = (
        f"- On the {len(names)} {kind_list(DIRECT_KINDS)} files, read call by call, Quoriel "
        f"read exactly the design limit on {len(names) - len(off_limit)} of {len(names)} and "
        f"made one `ReadFile` for each structure on {len(names) - len(off_calls)} of "
        f"{len(names)}"
    )
    faults = [
        f"{n} ({traced.get(n, 0) - int(design[n]['limit']):+,} bytes)" for n in off_limit
    ] + [
        f"{n} ({int(quoriel[n]['reads']) - int(design[n]['structures']):+} `ReadFile`)"
        for n in off_calls
    ]
    return text + ("; not on: " + ", ".join(faults) if faults else "") + "."


def read_ahead_claims(data):
    names = [n for n in data["names"] if read_ahead(data, n)]
    if not names:
        return []
    quoriel, traced = data["quoriel"], data["bytes"]["quoriel"]
    kinds = {data["kind"][n] for n in names}
    largest = max(data["largest"]["quoriel"].get(n, 0) for n in names)
    within = [n for n in names if within_blocks(data, n)]
    lines = [
        f"- On the {len(names)} {kind_list(kinds)} files, read ahead, Quoriel made "
        f"{span([int(quoriel[n]['reads']) for n in names])} `ReadFile` calls, "
        f"{span([moves(quoriel[n]) for n in names])} `SetFilePointer` and "
        f"{span([int(quoriel[n]['size_queries']) for n in names])} `GetFileSize` a lookup: "
        f"{span([calls(quoriel[n]) for n in names])} calls in all. Its bytes were at most "
        f"its `ReadFile` calls × {number(BLOCK)} on {len(within)} of {len(names)}, and its "
        f"largest single read was {number(largest)} bytes: it read "
        f"{span([traced.get(n, 0) for n in names])} bytes a lookup, in whole blocks or up "
        "to the file's end, for design limits of "
        f"{span([int(data['design'][n]['limit']) for n in names])} bytes."
    ]
    goals = {}
    for name in names:
        if call_goal(data, name) is not None:
            goals.setdefault(call_goal(data, name), []).append(name)
    for goal, members in sorted(goals.items(), reverse=True):
        met = [n for n in members if calls(quoriel[n]) <= goal]
        lines.append(
            f"- Goal of {goal} calls or fewer for {GOAL_SUBJECTS[goal]}: met on {len(met)} of "
            f"{len(members)} ("
            + ", ".join(f"{n} {calls(quoriel[n])}" for n in members)
            + ")."
        )
    return lines


def same_exif_claims(data):
    design, traced, quoriel = data["design"], data["bytes"], data["quoriel"]
    lines = []
    for group, members in same_exif_groups(data["names"]).items():
        members = sorted(members, key=lambda n: int(design[n]["size"]))
        reads = {(traced["quoriel"].get(n, 0), calls(quoriel[n])) for n in members}
        smallest, largest = (size_text(int(design[n]["size"])) for n in (members[0], members[-1]))
        if len(reads) == 1:
            size, count = reads.pop()
            read = f"{number(size)} bytes in {count} calls each time."
        else:
            read = "DIFFERENT amounts: " + ", ".join(
                f"{number(size)} bytes in {count} calls" for size, count in sorted(reads)
            )
            read += "."
        lines.append(
            f"- On the {len(members)} files `{group}` with the same Exif block, from {smallest} "
            f"to {largest}, Quoriel read {read}"
        )
    return lines


def peer_claims(data, peer):
    names, traced, found = data["names"], data["bytes"], data["found"]
    compared = [n for n in names if comparable(data, peer, n) and traced["quoriel"].get(n)]
    ratios = [traced[peer].get(n, 0) / traced["quoriel"][n] for n in compared]
    both = [n for n in names if found["quoriel"][n] and found[peer].get(n)]
    speeds = [data["rates"]["quoriel"][n] / data["rates"][peer][n] for n in both]
    lines = [
        f"- {TITLES[peer]} read {ratio(min(ratios))} to {ratio(max(ratios))} Quoriel's bytes "
        f"(median {ratio(statistics.median(ratios))}) on the {len(compared)} files it can be "
        f"compared on. On the {len(both)} files where both found the position, Quoriel's "
        f"lookups per second were {ratio(min(speeds))} to {ratio(max(speeds))} "
        f"{TITLES[peer]}'s (median {ratio(statistics.median(speeds))})."
    ]
    present = {data["kind"][n] for n in names}
    unread = [k for k in KINDS if k in present and k not in peer_kinds(data, peer)]
    missed = [
        n
        for n in names
        if found["quoriel"][n] and not found[peer].get(n) and data["kind"][n] not in unread
    ]
    if unread:
        lines.append(
            f"- {TITLES[peer]} found no position in any {kind_list(unread, 'or')} file, "
            "whose bytes it "
            "reads all the same."
        )
    if missed:
        lines.append(
            f"- {TITLES[peer]} found no position in " + ", ".join(missed) + ", where Quoriel did."
        )
    return lines


def summary(data):
    names, traced, quoriel = data["names"], data["bytes"], data["quoriel"]
    counted = [n for n in names if traced["quoriel"].get(n, 0) == int(quoriel[n]["bytes_read"])]
    steady = [n for n in names if quoriel[n]["steady"] == "1"]
    reader_rate = statistics.median(float(quoriel[n]["reader_lookups_per_s"]) for n in names)
    open_share = 100 * statistics.median(
        1 - float(quoriel[n]["lookups_per_s"]) / float(quoriel[n]["reader_lookups_per_s"])
        for n in names
    )
    lines = [
        "### What the run shows",
        "",
        direct_claim(data),
    ]
    lines += read_ahead_claims(data)
    lines += [
        f"- The traced bytes equal the bytes of the counted `ReadFile` calls on {len(counted)} "
        f"of {len(names)} files, and every timed lookup made the same calls as the first on "
        f"{len(steady)} of {len(names)}.",
    ]
    lines += same_exif_claims(data)
    for peer in PEERS:
        lines += peer_claims(data, peer)
    lines += [
        "- Each counted call is a system call under Wine: the JPEG and TIFF readings make one "
        "for each structure, each move and each position query, the containers' one for each "
        "block and one for the file's size. Quoriel's "
        f"reader alone, on a file opened once, made {number(reader_rate)} lookups per second "
        f"(median over the files): opening and closing the file take {open_share:.0f} % of "
        "a lookup.",
        "",
        "![Bytes read per lookup against file size, log-log](performance.png)",
        "",
    ]
    return lines
