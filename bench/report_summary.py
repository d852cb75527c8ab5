"""What the run shows: the claims of the performance report, each computed from the results."""
import statistics

from report_format import (
    KINDS,
    PEERS,
    TITLES,
    comparable,
    kind_list,
    number,
    peer_kinds,
    ratio,
    same_exif_groups,
    size_text,
)


def limit_claim(data):
    names, design, traced = data["names"], data["design"], data["bytes"]
    above = [n for n in names if traced["quoriel"].get(n, 0) != int(design[n]["limit"])]
    text = (
        f"- Quoriel read exactly the design limit on {len(names) - len(above)} of {len(names)} "
        "files"
    )
    if not above:
        return text + "."
    return (
        text
        + "; not on: "
        + ", ".join(
            f"{n} ({traced['quoriel'].get(n, 0) - int(design[n]['limit']):+,} bytes)" for n in above
        )
        + "."
    )


def same_exif_claims(data):
    design, traced = data["design"], data["bytes"]
    lines = []
    for group, members in same_exif_groups(data["names"]).items():
        members = sorted(members, key=lambda n: int(design[n]["size"]))
        sizes = {traced["quoriel"].get(n, 0) for n in members}
        smallest, largest = (size_text(int(design[n]["size"])) for n in (members[0], members[-1]))
        span = f"{smallest} to {largest}"
        lines.append(
            f"- On the {len(members)} files `{group}` with the same Exif block, from {span}, "
            "Quoriel read "
            + (
                f"{number(sizes.pop())} bytes each time."
                if len(sizes) == 1
                else "DIFFERENT amounts: " + ", ".join(number(v) for v in sorted(sizes)) + "."
            )
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
        limit_claim(data),
        f"- The traced bytes equal the bytes of the counted `ReadFile` calls on {len(counted)} "
        f"of {len(names)} files, and every timed lookup made the same calls as the first on "
        f"{len(steady)} of {len(names)}.",
    ]
    lines += same_exif_claims(data)
    for peer in PEERS:
        lines += peer_claims(data, peer)
    lines += [
        "- Quoriel reads each structure with a call of its own (the calls and seeks column), "
        "and each call is a system call under Wine. Its "
        f"reader alone, on a file opened once, made {number(reader_rate)} lookups per second "
        f"(median over the files): opening and closing the file take {open_share:.0f} % of "
        "a lookup.",
        "",
        "![Bytes read per lookup against file size, log-log](performance.png)",
        "",
    ]
    return lines
