#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, makes a demo Wine prefix whose
# user has OpenStreetMap settings, launches a sample position as the command would, and
# prints what the launched program received.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

prefix=$build/demo-prefix
bash "$root/scripts/wine-prefix.sh" "$prefix" "$build/tests/launch-recorder.exe" >/dev/null

export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"
wine=/usr/lib/wine/wine64
reg() { "$wine" reg "$@" >/dev/null; }

# No browser here: https goes to the launch recorder, which writes down what it was given.
reg add 'HKCR\https\shell\open\command' /ve /d 'C:\qrtest\launch-recorder.exe %1' /f
# Signed decimal degrees: empty texts for north and east, a minus sign for south and west.
settings='HKCU\Software\Vantorel\Quoriel'
reg add "$settings" /v Object /d 'https://www.openstreetmap.org/?mlat=@AH@Ad&mlon=@OH@Od#map=17/@AH@Ad/@OH@Od' /f
reg add "$settings" /v N /d '' /f
reg add "$settings" /v S /d '-' /f
reg add "$settings" /v E /d '' /f
reg add "$settings" /v W /d '-' /f

record_dir=$prefix/drive_c/qrtest
rm -f "$record_dir/demo-launch.txt"
echo "Launching the sample position 35°39'31.2\"N 139°44'43.5\"E with the OpenStreetMap template..."
QUORIEL_LAUNCH_RECORD='C:\qrtest\demo-launch.txt' "$wine" "$build/scripts/demo/launch-demo.exe"
for _ in $(seq 1 100); do
    [ -f "$record_dir/demo-launch.txt" ] && break
    sleep 0.1
done
if [ ! -f "$record_dir/demo-launch.txt" ]; then
    echo "nothing was launched" >&2
    exit 1
fi
echo "The launched program received:"
iconv -f UTF-16LE -t UTF-8 "$record_dir/demo-launch.txt"
echo
