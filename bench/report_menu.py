"""The menu-build part of the performance report: the menu build and the Explorer command's
GetState against the bare registry walk, in tables, and what they show."""
from report_reading import number, table

OVERHEAD_TARGET_PERCENT = 5.0
# The extension whose type only the user's Formats value enables.
SWITCHED = ".heic"


def calls(row, side):
    enums = number(int(row[side + "_enums"]))
    return f"{row[side + '_opens']} / {enums} / {row[side + '_queries']}"


def extra_calls(row):
    """(key opens, value reads) the menu build made beyond the bare walk."""
    return (int(row["menu_opens"]) - int(row["walk_opens"]),
            int(row["menu_queries"]) - int(row["walk_queries"]))


def menu_table(rows):
    return table(
        ["extension", "Formats value", "extra subkeys", "HKCR subkeys", "walk stops at",
         "menu item", "registry calls, menu build", "registry calls, bare walk",
         "calls per round × rounds", "ms per menu build", "ms per bare walk",
         "overhead above the walk", "rounds' range"], "llrrrlrrrrrrr",
        [[f"`{r['extension']}`", r["formats"], number(int(r["extra_keys"])),
          number(int(r["hkcr_keys"])),
          "index " + number(int(r["index"])) if int(r["index"]) >= 0 else "the end",
          "offered" if r["offered"] == "1" else "none", calls(r, "menu"), calls(r, "walk"),
          f"{r['repetitions']} × {r['rounds']}", f"{float(r['menu_ms']):.3f}",
          f"{float(r['walk_ms']):.3f}", f"{float(r['overhead_percent']):+.2f} %",
          f"{float(r['lowest_percent']):+.1f} to {float(r['highest_percent']):+.1f} %"]
         for r in rows])


def menu_verdict(rows):
    plain = [r for r in rows if r["extension"] != SWITCHED]
    worst = max(float(r["overhead_percent"]) for r in plain)
    names = " and ".join(sorted({f"`{r['extension']}`" for r in plain}))
    verdict = "under" if worst < OVERHEAD_TARGET_PERCENT else "NOT under"
    same_calls = all(extra_calls(r) == (0, 0) for r in plain)
    return (
        f"For {names} the handler's overhead above the walk is at most {worst:+.2f} %, {verdict} "
        f"the {OVERHEAD_TARGET_PERCENT:.0f} % target, with the Formats value absent and present; "
        + ("their registry calls are the walk's own, so the value is never read for them."
           if same_calls else "but their registry calls DIFFER from the walk's.")
        + " The menu build costs what the walk costs: about one registry call per subkey "
        "before the extension.")


def switch_findings(rows):
    """What the Formats value costs: the switched extension's extra calls and their time at
    HKEY_CLASSES_ROOT's own size."""
    own = [r for r in rows if r["extension"] == SWITCHED and int(r["extra_keys"]) == 0]
    extras = {extra_calls(r) for r in rows if r["extension"] == SWITCHED}
    offered = {r["formats"]: r["offered"] == "1" for r in own}
    if len(extras) != 1:
        return f"For `{SWITCHED}` the extra calls varied: {sorted(extras)}."
    opens, queries = extras.pop()
    costs = ", ".join(f"{float(r['menu_ms']) - float(r['walk_ms']):.3f} ms "
                      f"({float(r['overhead_percent']):+.1f} %) with the value {r['formats']}"
                      for r in own)
    as_said = offered.get("present") and not offered.get("absent")
    return (
        f"For `{SWITCHED}`, whose type only the switch enables, the menu build makes {opens} key "
        f"open{'s' if opens != 1 else ''} and {queries} value read{'s' if queries != 1 else ''} "
        "more than the walk, at every size: the settings key and its Formats value. At "
        f"HKEY_CLASSES_ROOT's own size they cost {costs}; the item is offered "
        + ("only with the value present." if as_said else "NOT as the value says."))


def state_table(rows):
    return table(
        ["extension", "Formats value", "extra subkeys", "command state",
         "registry calls, GetState", "registry calls, menu build", "ms per GetState",
         "above the menu build"], "llrlrrrr",
        [[f"`{r['extension']}`", r["formats"], number(int(r["extra_keys"])),
          "enabled" if r["offered"] == "1" else "hidden", calls(r, "state"), calls(r, "menu"),
          f"{float(r['state_ms']):.3f}", f"{float(r['state_above_menu_percent']):+.2f} %"]
         for r in rows])


def state_verdict(rows):
    same = all(calls(r, "state") == calls(r, "menu") for r in rows)
    worst = max(float(r["state_above_menu_percent"]) for r in rows)
    return ("GetState makes " + ("the same registry calls as the menu build in every row" if same
                                 else "OTHER registry calls than the menu build")
            + f"; its time is at most {worst:+.2f} % above the menu build's. It reads no file, so "
            "it never answers `E_PENDING`.")


def menu_fields(rows):
    """The menu section's figures, by the template's names."""
    return {"menu_table": menu_table(rows), "menu_verdict": menu_verdict(rows),
            "switch_findings": switch_findings(rows), "state_table": state_table(rows),
            "state_verdict": state_verdict(rows)}
