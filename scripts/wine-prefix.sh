#!/usr/bin/env bash
# Makes a Wine prefix fit for the tests and the demo, once; later calls only refresh the
# launch recorder. Usage: wine-prefix.sh [--fresh] PREFIX_DIR LAUNCH_RECORDER_EXE
# --fresh: throw away whatever prefix is there and make a new one.
set -euo pipefail

fresh=0
if [ "$1" = --fresh ]; then
    fresh=1
    shift
fi
prefix=$1
recorder=$2
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"

# The recorder lives at a path without spaces: launches split their text at the first space.
recorder_path='C:\qrtest\launch-recorder.exe'
# URL templates reach the recorder through this scheme.
scheme=qrtest

stamp=$prefix/.quoriel-ready-2
if [ "$fresh" = 1 ] && [ -d "$prefix" ]; then
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    # A wineserver that was still ending may write its registry files while they are removed.
    rm -rf "$prefix" 2>/dev/null || { sleep 1 && rm -rf "$prefix"; }
fi
if [ ! -f "$stamp" ]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    # The image types' "Content Type" values come from DLLs that register themselves while the
    # prefix is made, so only the desktop integration is kept out here.
    WINEDLLOVERRIDES="winemenubuilder.exe=d" "$wine" wineboot --init >/dev/null 2>&1
    # The null display driver gives real message boxes without an X display.
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    "$wine" reg add "HKCR\\$scheme" /ve /d "URL:Quoriel test recorder" /f >/dev/null
    "$wine" reg add "HKCR\\$scheme" /v "URL Protocol" /d "" /f >/dev/null
    "$wine" reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "$recorder_path %1" /f >/dev/null
    # The next Wine start must pick up the display driver.
    "$wineserver" -k || true
    "$wineserver" -w || true
    touch "$stamp"
fi

mkdir -p "$prefix/drive_c/qrtest"
cp "$recorder" "$prefix/drive_c/qrtest/launch-recorder.exe"
echo "prefix ready: $prefix (recorder at $recorder_path, scheme $scheme:)"
