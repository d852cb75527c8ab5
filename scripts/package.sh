#!/usr/bin/env bash
# Makes the release archive: installs what is missing, builds everything into build/ (or
# $QUORIEL_BUILD_DIR), and packs the installer, the module, the Windows 11 package and its
# certificate, the presets, the guides, the licence and the third-party notices into
# release/Quoriel-<version>-win64.zip there, with its SHA-256 beside it. A release's package and
# programs are signed with the certificate in QUORIEL_SIGNING_PFX (password in
# QUORIEL_SIGNING_PASSWORD, time stamps from QUORIEL_TIMESTAMP_URL when set); without it, with
# the build's throwaway certificate, and the archive is a test build's,
# Quoriel-<version>-test-win64.zip (docs/signing.md). Prints the archive's path on standard
# output and everything else on standard error, so that `archive=$(bash scripts/package.sh)`
# works.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
release=$build/release

bash "$root/scripts/setup.sh" >&2
if [ -z "${QUORIEL_SIGNING_PFX-}" ]; then
    echo "QUORIEL_SIGNING_PFX is not set: Quoriel.msix and the programs are signed with a" \
        "throwaway certificate, fit for testing only" >&2
fi
bash "$root/scripts/build.sh" >&2

# An archive left from an older version would make the one just made ambiguous.
rm -rf "$release"
(cd "$build" && cpack --config CPackConfig.cmake -B "$release") >&2

shopt -s nullglob
archives=("$release"/Quoriel-*-win64.zip)
if [ ${#archives[@]} -ne 1 ]; then
    echo "cpack made ${#archives[@]} archives in $release, expected one" >&2
    exit 1
fi
# The winget manifests name the archive's download address, which only the release knows; a
# placeholder there could be submitted by mistake, so without it there are none (docs/winget.md).
if [ -z "${QUORIEL_SIGNING_PFX-}" ]; then
    echo "a test build: no winget manifests written (docs/winget.md)" >&2
elif [ -n "${QUORIEL_RELEASE_URL-}" ]; then
    python3 "$root/scripts/winget_manifest.py" --archive "${archives[0]}" \
        --cpack-config "$build/CPackConfig.cmake" --url "$QUORIEL_RELEASE_URL" \
        --output "$release/winget" >&2
else
    echo "QUORIEL_RELEASE_URL is not set: no winget manifests written (docs/winget.md)" >&2
fi
echo "${archives[0]}"
