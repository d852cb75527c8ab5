#!/usr/bin/env python3
"""Writes the winget manifests of a release archive: the multi-file set that winget's community
repository takes (version, installer, the en-US default locale and a ja-JP locale), into
OUTPUT/manifests/<letter>/<Publisher>/<Name>/<version>/, the layout of that repository.

    winget_manifest.py --archive ZIP --cpack-config CPackConfig.cmake --url URL --output DIR

The identifier, version and English description come from the build's CPack set-up (which has
them from the project version and cmake/Packaging.cmake); the uninstall entry's key, display
name and publisher from the sources the installer is compiled from; the hash from the archive.
Prints the folder it wrote.
"""
import argparse
import hashlib
import re
import shutil
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
MANIFEST_VERSION = "1.10.0"
DEFAULT_LOCALE = "en-US"
SETUP_FILE = "QuorielSetup.exe"
# The oldest Windows the module is built for; winget reads 10.0.0.0 as any Windows 10.
MINIMUM_OS_VERSION = "10.0.0.0"
UNINSTALL_KEYS = "software\\microsoft\\windows\\currentversion\\uninstall\\"

# What the setup program returns besides 0, after Windows Installer's codes, and what winget is
# to make of each. winget counts rebootRequiredToFinish as installed and tells the user to
# restart; listing 3010 among the success codes as well would silence that.
EXPECTED_RETURN_CODES = (
    (3010, "rebootRequiredToFinish"),  # ERROR_SUCCESS_REBOOT_REQUIRED
    (1602, "cancelledByUser"),  # ERROR_INSTALL_USEREXIT
    (1603, "contactSupport"),  # ERROR_INSTALL_FAILURE
    (87, "invalidParameter"),  # ERROR_INVALID_PARAMETER
)
SWITCHES = {
    "Silent": "/quiet",
    "SilentWithProgress": "/quiet",
    "Log": '/log "<LOGPATH>"',
}

# The texts of each locale that no build file holds; English's description is CPack's.
LOCALES = {
    "en-US": {
        "Tags": ["context-menu", "exif", "explorer", "geotag", "gps", "map", "photo",
                 "shell-extension"],
    },
    "ja-JP": {
        "ShortDescription": ("写真の Exif GPS 位置を地図で開く、"
                             "エクスプローラーの右クリックメニューのコマンド"),
        "Tags": ["exif", "gps", "エクスプローラー", "右クリック", "地図", "写真",
                 "位置情報"],
    },
}

C_LITERAL = r'L"(?:[^"\\]|\\.)*"'
SOURCES = ("common/*.h", "install/*.h", "install/*.cpp")


class Refused(Exception):
    pass


def unescape(body):
    """The text of a C or CMake string body: the sources escape only backslashes and quotes."""
    return re.sub(r"\\(.)", r"\1", body)


def source_files():
    return sorted(path for pattern in SOURCES for path in ROOT.glob(pattern))


def string_constant(name, files):
    """The wide-text value of NAME, a #define or a constant set to adjacent literals and
    #defined names, as the compiler would join them; it must be defined once."""
    define = re.compile(rf"^#define {name} ({C_LITERAL})\s*$", re.M)
    constant = re.compile(rf"\b{name}\s*=\s*((?:{C_LITERAL}|\w+|\s)+);")
    found = []
    for path in files:
        text = path.read_text(encoding="utf-8")
        found += [(path, m[1]) for m in (*define.finditer(text), *constant.finditer(text))]
    if len(found) != 1:
        places = ", ".join(str(path.relative_to(ROOT)) for path, _ in found) or "nowhere"
        raise Refused(f"{name} must be defined once in {', '.join(SOURCES)}; found: {places}")
    pieces = re.findall(rf"{C_LITERAL}|\w+", found[0][1])
    return "".join(unescape(piece[2:-1]) if piece.startswith('L"')
                   else string_constant(piece, files) for piece in pieces)


def uninstall_entry():
    """DisplayName, Publisher and ProductCode (the uninstall key's name) as the installer
    writes them."""
    files = source_files()
    key = string_constant("PROGRAMS_KEY", files)
    if not key.lower().startswith(UNINSTALL_KEYS) or "\\" in key[len(UNINSTALL_KEYS):]:
        raise Refused(f"PROGRAMS_KEY {key!r} is no key directly under ...\\{UNINSTALL_KEYS}")
    return {
        "DisplayName": string_constant("DISPLAY_NAME", files),
        "Publisher": string_constant("PUBLISHER", files),
        "ProductCode": key[len(UNINSTALL_KEYS):],
    }


def cpack_settings(path):
    text = Path(path).read_text(encoding="utf-8")
    return {m[1]: unescape(m[2])
            for m in re.finditer(r'^set\((\w+) "((?:[^"\\]|\\.)*)"\)$', text, re.M)}


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest().upper()


def scalar(value):
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, int):
        return str(value)
    # A JSON string is a YAML double-quoted scalar: no text can be read as another type or
    # break the line, whatever characters it holds.
    return '"' + "".join(escaped(c) for c in value) + '"'


def escaped(character):
    if character in '"\\':
        return "\\" + character
    if character.isprintable():
        return character
    code = ord(character)
    return f"\\u{code:04x}" if code <= 0xFFFF else f"\\U{code:08x}"


def yaml_lines(mapping, indent=""):
    for key, value in mapping.items():
        if isinstance(value, dict):
            yield f"{indent}{key}:"
            yield from yaml_lines(value, indent + "  ")
        elif isinstance(value, list):
            yield f"{indent}{key}:"
            for item in value:
                if isinstance(item, dict):
                    lines = list(yaml_lines(item, indent + "  "))
                    yield indent + "- " + lines[0][len(indent) + 2:]
                    yield from lines[1:]
                else:
                    yield f"{indent}- {scalar(item)}"
        else:
            yield f"{indent}{key}: {scalar(value)}"


def manifests(cpack, archive, url):
    identity = {
        "PackageIdentifier": f"{cpack['CPACK_PACKAGE_VENDOR']}.{cpack['CPACK_PACKAGE_NAME']}",
        "PackageVersion": cpack["CPACK_PACKAGE_VERSION"],
    }
    tail = {"ManifestVersion": MANIFEST_VERSION}
    version = {**identity, "DefaultLocale": DEFAULT_LOCALE, "ManifestType": "version", **tail}
    installer = {
        **identity,
        "InstallerType": "zip",
        "NestedInstallerType": "exe",
        "NestedInstallerFiles": [{"RelativeFilePath": SETUP_FILE}],
        "Scope": "machine",
        # The setup program's manifest asks for administrator rights: Windows elevates it.
        "ElevationRequirement": "elevatesSelf",
        "MinimumOSVersion": MINIMUM_OS_VERSION,
        "InstallerSwitches": SWITCHES,
        "ExpectedReturnCodes": [{"InstallerReturnCode": code, "ReturnResponse": response}
                                for code, response in EXPECTED_RETURN_CODES],
        "AppsAndFeaturesEntries": [uninstall_entry()],
        "Installers": [{
            "Architecture": "x64",
            "InstallerUrl": url,
            "InstallerSha256": sha256(archive),
        }],
        "ManifestType": "installer",
        **tail,
    }
    files = {"": ("version", version), ".installer": ("installer", installer)}
    for locale, texts in LOCALES.items():
        default = locale == DEFAULT_LOCALE
        files[f".locale.{locale}"] = ("defaultLocale" if default else "locale", {
            **identity,
            "PackageLocale": locale,
            "Publisher": cpack["CPACK_PACKAGE_VENDOR"],
            "PackageName": cpack["CPACK_PACKAGE_NAME"],
            "License": license_name(),
            "ShortDescription": texts.get("ShortDescription",
                                          cpack["CPACK_PACKAGE_DESCRIPTION_SUMMARY"]),
            # Only the default locale may name the package's moniker.
            **({"Moniker": cpack["CPACK_PACKAGE_NAME"].lower()} if default else {}),
            "Tags": texts["Tags"],
            "ManifestType": "defaultLocale" if default else "locale",
            **tail,
        })
    return identity["PackageIdentifier"], identity["PackageVersion"], files


def license_name():
    first = (ROOT / "LICENSE").read_text(encoding="utf-8").splitlines()[0].strip()
    if first != "MIT License":
        raise Refused(f"LICENSE begins {first!r}; the manifests say MIT")
    return "MIT"


def check_inputs(cpack, archive, url):
    # A test build's programs are signed with a certificate only its build folder has: no
    # one installing through winget could trust it.
    if cpack.get("CPACK_QUORIEL_TEST_BUILD", "1") != "0":
        raise Refused(f"{archive.name} is a test build's archive (no QUORIEL_SIGNING_PFX); "
                      "winget manifests are for releases")
    expected = cpack.get("CPACK_PACKAGE_FILE_NAME", "") + ".zip"
    if archive.name != expected:
        raise Refused(f"{archive.name} is not this build's archive {expected}")
    with zipfile.ZipFile(archive) as contents:
        if SETUP_FILE not in contents.namelist():
            raise Refused(f"{archive.name} holds no {SETUP_FILE} at its top")
    if not re.fullmatch(r"https://\S+", url, re.I):
        raise Refused(f"the download URL must be an https URL without spaces, not {url!r}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--archive", type=Path, required=True)
    parser.add_argument("--cpack-config", required=True)
    parser.add_argument("--url", required=True, help="the archive's download URL")
    parser.add_argument("--output", type=Path, required=True)
    arguments = parser.parse_args()
    try:
        cpack = cpack_settings(arguments.cpack_config)
        check_inputs(cpack, arguments.archive, arguments.url)
        identifier, version, files = manifests(cpack, arguments.archive, arguments.url)
    except KeyError as error:
        sys.exit(f"winget_manifest.py: {arguments.cpack_config} sets no {error}")
    except (Refused, OSError, zipfile.BadZipFile) as error:
        sys.exit(f"winget_manifest.py: {error}")
    publisher, name = identifier.split(".", 1)
    folder = arguments.output / "manifests" / publisher[0].lower() / publisher / name / version
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for suffix, (kind, manifest) in files.items():
        lines = [f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}"
                 f".{MANIFEST_VERSION}.schema.json", "", *yaml_lines(manifest)]
        (folder / f"{identifier}{suffix}.yaml").write_text("\n".join(lines) + "\n",
                                                             encoding="utf-8")
    print(folder)


if __name__ == "__main__":
    main()
