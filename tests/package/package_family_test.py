#!/usr/bin/env python3
"""The package's family name as Windows derives it: Microsoft's own published family name comes
out of the same derivation, and the one built into the programs belongs to the built manifest.

    package_family_test.py PACKAGE_FAMILY_PY GENERATED_HEADER MANIFEST
"""
import re
import runpy
import sys
import xml.etree.ElementTree as ElementTree

# A family name Windows shows for one of its own packages, with that package's Publisher.
KNOWN = [("Microsoft.WindowsCalculator",
          "CN=Microsoft Corporation, O=Microsoft Corporation, L=Redmond, S=Washington, C=US",
          "Microsoft.WindowsCalculator_8wekyb3d8bbwe")]
FOUNDATION = "{http://schemas.microsoft.com/appx/manifest/foundation/windows10}"


def main(script, header, manifest):
    publisher_id = runpy.run_path(script)["publisher_id"]
    failures = 0
    for name, publisher, expected in KNOWN:
        got = f"{name}_{publisher_id(publisher)}"
        if got != expected:
            print(f"{name}: {got}, expected {expected}")
            failures += 1
    identity = ElementTree.parse(manifest).getroot().find(f"{FOUNDATION}Identity")
    built = f"{identity.get('Name')}_{publisher_id(identity.get('Publisher'))}"
    with open(header, encoding="utf-8") as text:
        generated = re.search(r'QUORIEL_PACKAGE_FAMILY_TEXT L"([^"]*)"', text.read()).group(1)
    if generated != built:
        print(f"the programs ask for {generated}, the package is {built}")
        failures += 1
    print("package family: " + ("FAILED" if failures else f"ok ({built})"))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.stderr.write(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
