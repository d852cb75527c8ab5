#!/usr/bin/env python3
"""Writes the winget manifests for the archive the release_archive fixture packed, with a test
URL, and checks them against winget's published schemas and against the archive.

    winget_manifest_test.py SCRIPT ARCHIVE CPACK_CONFIG SCHEMAS VERSION WORK

SCHEMAS holds winget's manifest schemas (tests/data/winget); WORK is a scratch folder.
"""
import copy
import json
import re
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

import jsonschema
import yaml

script, archive, cpack_config, schemas, version, work = sys.argv[1:]
archive, schemas, work = Path(archive), Path(schemas), Path(work)
IDENTIFIER = "Vantorel.Quoriel"
# Characters YAML would take for syntax if they were written bare.
URL = "https://example.test/v1/Quoriel.zip?a=1&b='x'#c:\"d\"%20e"
SCHEMA_OF = {
    f"{IDENTIFIER}.yaml": "version",
    f"{IDENTIFIER}.installer.yaml": "installer",
    f"{IDENTIFIER}.locale.en-US.yaml": "defaultLocale",
    f"{IDENTIFIER}.locale.ja-JP.yaml": "locale",
}
failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def run(archive_path, url, output, config=None):
    return subprocess.run([sys.executable, script, "--archive", str(archive_path),
                           "--cpack-config", str(config or release_config), "--url", url,
                           "--output", str(output)], capture_output=True, text=True)


def as_release(archive, cpack_config, folder):
    """The archive and CPack set-up as a build with a release certificate names them; the
    fixture's build has none, and the manifests are written for releases only."""
    text = Path(cpack_config).read_text(encoding="utf-8")
    name = re.search(r'^set\(CPACK_PACKAGE_FILE_NAME "([^"]*)"\)$', text, re.M)[1]
    release_name = name.replace("-test-", "-")
    text = text.replace(f'"{name}"', f'"{release_name}"')
    text = re.sub(r'^set\(CPACK_QUORIEL_TEST_BUILD "1"\)$',
                  'set(CPACK_QUORIEL_TEST_BUILD "0")', text, flags=re.M)
    folder.mkdir(parents=True)
    config = folder / "CPackConfig.cmake"
    config.write_text(text, encoding="utf-8")
    copy = folder / f"{release_name}.zip"
    shutil.copy(archive, copy)
    shutil.copy(f"{archive}.sha256", f"{copy}.sha256")
    return copy, config


def strict(schema):
    """The schema with every listed object closed: winget's schemas let unknown keys through,
    so a misspelt or misplaced key would otherwise pass unseen."""
    schema = copy.deepcopy(schema)

    def close(node):
        if isinstance(node, dict):
            if "properties" in node:
                node.setdefault("additionalProperties", False)
            for value in node.values():
                close(value)
        elif isinstance(node, list):
            for value in node:
                close(value)
    close(schema)
    return schema


shutil.rmtree(work, ignore_errors=True)
test_archive, test_config = archive, cpack_config
archive, release_config = as_release(archive, cpack_config, work / "release")
made = run(archive, URL, work)
folder = work / "manifests" / "v" / "Vantorel" / "Quoriel" / version
expect(made.returncode == 0, f"winget_manifest.py failed: {made.stderr.strip()}")
expect(made.stdout.strip() == str(folder), f"printed {made.stdout.strip()!r}, wrote {folder}")

found = sorted(path.name for path in folder.glob("*")) if folder.is_dir() else []
expect(found == sorted(SCHEMA_OF), f"{folder} holds {found}, expected {sorted(SCHEMA_OF)}")
manifests = {}
for name, kind in SCHEMA_OF.items():
    if name not in found:
        continue
    manifest = manifests[kind] = yaml.safe_load((folder / name).read_text(encoding="utf-8"))
    schema = json.loads((schemas / f"manifest.{kind}.1.10.0.json").read_text(encoding="utf-8"))
    for error in jsonschema.Draft7Validator(strict(schema)).iter_errors(manifest):
        failures.append(f"{name}: {'/'.join(map(str, error.absolute_path))}: {error.message}")
    expect(manifest.get("PackageIdentifier") == IDENTIFIER,
           f"{name}: PackageIdentifier {manifest.get('PackageIdentifier')!r}")
    expect(manifest.get("PackageVersion") == version,
           f"{name}: PackageVersion {manifest.get('PackageVersion')!r}, project {version}")

if "installer" in manifests:
    (installer,) = manifests["installer"]["Installers"]
    cpack_hash = Path(f"{archive}.sha256").read_text().split()[0].upper()
    expect(installer["InstallerSha256"] == cpack_hash,
           f"InstallerSha256 {installer['InstallerSha256']}, archive {cpack_hash}")
    expect(installer["InstallerUrl"] == URL,
           f"InstallerUrl read back as {installer['InstallerUrl']!r}")
    with zipfile.ZipFile(archive) as contents:
        for nested in manifests["installer"]["NestedInstallerFiles"]:
            expect(nested["RelativeFilePath"] in contents.namelist(),
                   f"{nested['RelativeFilePath']} is not in {archive.name}")
if "version" in manifests:
    default = manifests["version"]["DefaultLocale"]
    expect(f"{IDENTIFIER}.locale.{default}.yaml" in found, f"no manifest for {default}")

# What the script must refuse, writing nothing: each a (case, archive, URL).
other_name = work / "refused" / "Quoriel-0.0.0.0-win64.zip"
no_setup = work / "refused" / "setup-missing" / archive.name
no_setup.parent.mkdir(parents=True)
shutil.copy(archive, other_name)
with zipfile.ZipFile(archive) as source, zipfile.ZipFile(no_setup, "w") as target:
    for item in source.infolist():
        if item.filename != "QuorielSetup.exe":
            target.writestr(item, source.read(item))
REFUSALS = (
    ("plain http", archive, "http://example.test/Quoriel.zip"),
    ("no URL at all", archive, ""),
    ("a URL with a space", archive, "https://example.test/Quoriel 1.zip"),
    ("another build's archive", other_name, URL),
    ("an archive without the setup program", no_setup, URL),
    ("a test build's archive, with its own CPack set-up", test_archive, URL, test_config),
)
for index, (case, archive_path, url, *config) in enumerate(REFUSALS):
    output = work / "refused" / f"output-{index}"
    refused = run(archive_path, url, output, *config)
    expect(refused.returncode != 0 and refused.stderr.strip(), f"{case}: not refused")
    expect(not output.exists(), f"{case}: wrote {output} all the same")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(failures)} failures; manifests in {folder}")
sys.exit(1 if failures else 0)
