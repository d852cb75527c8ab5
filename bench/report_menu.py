"""The machine and menu-build sections of the performance report."""
from report_format import number

OVERHEAD_TARGET_PERCENT = 5.0


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
        "not decide it, and every ratio compares figures taken in the same run. Wine's round "
        "trips to its server (the open and the close of a lookup, every registry call) vary "
        "most: they are slower on an idle machine than on a busy one, since an idle core takes "
        "longer to wake.",
        "",
    ]


def calls(row, side):
    enums = number(int(row[side + "_enums"]))
    return f"{row[side + '_opens']} / {enums} / {row[side + '_queries']}"


def extra_calls(row):
    """(key opens, value reads) the menu build made beyond the bare walk."""
    return (
        int(row["menu_opens"]) - int(row["walk_opens"]),
        int(row["menu_queries"]) - int(row["walk_queries"]),
    )


def menu_table(rows):
    lines = [
        "| extension | Formats value | extra subkeys | HKCR subkeys | walk stops at | menu item "
        "| registry calls, menu build | registry calls, bare walk "
        "| calls per round × rounds | ms per menu build | ms per bare walk "
        "| overhead above the walk | rounds' range |",
        "|---|---|---:|---:|---:|---|---:|---:|---:|---:|---:|---:|---:|",
    ]
    for row in rows:
        index = int(row["index"])
        lines.append(
            f"| `{row['extension']}` | {row['formats']} | {number(int(row['extra_keys']))} "
            f"| {number(int(row['hkcr_keys']))} "
            f"| {'index ' + number(index) if index >= 0 else 'the end'} "
            f"| {'offered' if row['offered'] == '1' else 'none'} "
            f"| {calls(row, 'menu')} | {calls(row, 'walk')} "
            f"| {row['repetitions']} × {row['rounds']} | {float(row['menu_ms']):.3f} "
            f"| {float(row['walk_ms']):.3f} | {float(row['overhead_percent']):+.2f} % "
            f"| {float(row['lowest_percent']):+.1f} to {float(row['highest_percent']):+.1f} % |"
        )
    return lines


def state_lines(rows):
    """Windows 11's command: GetState for the same file beside the menu build, when the results
    have it."""
    if not rows or "state_ms" not in rows[0]:
        return []
    lines = [
        "The Explorer command of Windows 11's menu, made through the same factory, answers "
        "`GetState` for the same file, as a real one-item `IShellItemArray` made by the shell; "
        "it is timed in the same rounds, and its time above the menu build is the median of "
        "the pairs' ratios, as above.",
        "",
        "| extension | Formats value | extra subkeys | command state | registry calls, GetState "
        "| registry calls, menu build | ms per GetState | above the menu build |",
        "|---|---|---:|---|---:|---:|---:|---:|",
    ]
    for row in rows:
        lines.append(
            f"| `{row['extension']}` | {row['formats']} | {number(int(row['extra_keys']))} "
            f"| {'enabled' if row['offered'] == '1' else 'hidden'} "
            f"| {calls(row, 'state')} | {calls(row, 'menu')} "
            f"| {float(row['state_ms']):.3f} | {float(row['state_above_menu_percent']):+.2f} % |"
        )
    same = all(calls(r, "state") == calls(r, "menu") for r in rows)
    worst = max(float(r["state_above_menu_percent"]) for r in rows)
    lines += [
        "",
        "GetState makes "
        + ("the same registry calls as the menu build in every row" if same
           else "OTHER registry calls than the menu build")
        + f"; its time is at most {worst:+.2f} % above the menu build's. It reads no file, so "
        "it never answers `E_PENDING`.",
        "",
    ]
    return lines


def switch_findings(rows, switched):
    """What the Formats value costs: the switched extension's extra calls and their time at
    HKEY_CLASSES_ROOT's own size."""
    own = [r for r in rows if r["extension"] == switched and int(r["extra_keys"]) == 0]
    extras = {extra_calls(r) for r in rows if r["extension"] == switched}
    offered = {r["formats"]: r["offered"] == "1" for r in own}
    if len(extras) != 1:
        return f"For `{switched}` the extra calls varied: {sorted(extras)}."
    opens, queries = extras.pop()
    costs = ", ".join(
        f"{float(r['menu_ms']) - float(r['walk_ms']):.3f} ms "
        f"({float(r['overhead_percent']):+.1f} %) with the value {r['formats']}"
        for r in own
    )
    return (
        f"For `{switched}`, whose type only the switch enables, the menu build makes {opens} key "
        f"open{'s' if opens != 1 else ''} and {queries} value read{'s' if queries != 1 else ''} "
        "more than the walk, at every size: the settings key and its Formats value. At "
        f"HKEY_CLASSES_ROOT's own size they cost {costs}; the item is offered "
        + (
            "only with the value present."
            if offered.get("present") and not offered.get("absent")
            else "NOT as the value says."
        )
    )


def menu_section(data, switched=".heic"):
    rows = data["menu"]
    plain = [r for r in rows if r["extension"] != switched]
    worst = max(float(r["overhead_percent"]) for r in plain)
    same_calls = all(extra_calls(r) == (0, 0) for r in plain)
    verdict = "under" if worst < OVERHEAD_TARGET_PERCENT else "NOT under"
    plain_names = " and ".join(sorted({f"`{r['extension']}`" for r in plain}))
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
        "that each extension moved down by exactly their number, and removes them at the end. "
        "Each call is timed alone and paired with the other kind's call next to it; a round's "
        "overhead is the median of its pairs' ratios, and the figures are the median of the "
        "rounds.",
        "",
        "Each size is measured with the user's Formats value (`HKCU\\Software\\Vantorel\\"
        "Quoriel`) absent and present (`image/heic; image/heif; image/avif; image/webp; "
        "image/png`). The settings key is there in both cases, as an installed Quoriel has it. "
        "A fresh prefix has no `.heic` key: the program registers it (Content Type "
        "`image/heic`), which adds one subkey to HKEY_CLASSES_ROOT, and removes it, the value "
        "and any key it made at the end. The registry calls of one menu build and one bare "
        "walk are counted in the import tables of `Quoriel.dll` and of the program: key opens "
        "/ subkey enumerations / value reads.",
        "",
    ]
    lines += menu_table(rows)
    lines += [
        "",
        f"For {plain_names} the handler's overhead above the walk is at most {worst:+.2f} %, "
        f"{verdict} the {OVERHEAD_TARGET_PERCENT:.0f} % target, with the Formats value absent "
        "and present; "
        + (
            "their registry calls are the walk's own, so the value is never read for them."
            if same_calls
            else "but their registry calls DIFFER from the walk's."
        )
        + " The menu build costs what the walk costs: about one registry call per subkey "
        "before the extension.",
        "",
        switch_findings(rows, switched),
        "",
    ]
    return lines + state_lines(rows)
