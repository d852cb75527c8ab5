#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, makes the release archive and
# unpacks it, makes a fresh Wine prefix, runs the archive's installer in it quietly, as an
# administrator's deployment does, with the phone photo, video and raw formats switched on,
# right-clicks a photo as Explorer does and chooses "Quoriel", and prints the menu item and the
# URL that was launched.
# Usage: demo.sh [PHOTO]   (default: a sample photo taken near Arezzo, Italy; a HEIC photo, a
# video or a camera raw works as well)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
photo=$(realpath "${1:-$root/tests/data/corpus/DSCN0010.jpg}")

archive=$(bash "$root/scripts/package.sh")
release=$build/demo-release
rm -rf "$release"
mkdir -p "$release"
(cd "$release" && cmake -E tar xf "$archive")

prefix=$build/demo-prefix
echo "Making a fresh Wine prefix in $prefix ..."
bash "$root/scripts/wine-prefix.sh" --fresh "$prefix" "$build/tests/host/launch-recorder.exe" >/dev/null

export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"
wine=/usr/lib/wine/wine64

# A fresh Wine prefix knows none of these extensions; Windows registers them with these
# content types (raws need nothing: their content type in the formats switch names them).
for type in .heic=image/heic .heif=image/heif .avif=image/avif .webp=image/webp \
    .mp4=video/mp4 .mov=video/quicktime .3gp=video/3gpp; do
    "$wine" reg add "HKCR\\${type%%=*}" /v 'Content Type' /d "${type#*=}" /f >/dev/null
done

# No browser here: https goes to the launch recorder, which writes down what it was given.
"$wine" reg add 'HKCR\https\shell\open\command' /ve /d 'C:\qrtest\launch-recorder.exe %1' /f \
    >/dev/null

echo "Installing Quoriel with QuorielSetup.exe /quiet /formats:all from $(basename "$archive") ..."
"$wine" "$release/QuorielSetup.exe" /quiet /formats:all

record=$prefix/drive_c/qrtest/demo-launch.txt
rm -f "$record"
echo "Right-clicking the photo and choosing Quoriel ..."
status=0
QUORIEL_LAUNCH_RECORD='C:\qrtest\demo-launch.txt' \
    "$wine" "$build/scripts/demo/shell-demo.exe" "Z:${photo//\//\\}" || status=$?
if [ "$status" -ne 0 ]; then
    echo "No launch for this photo (see the message box above)."
    exit 0
fi
for _ in $(seq 1 100); do
    [ -f "$record" ] && break
    sleep 0.1
done
if [ ! -f "$record" ]; then
    echo "nothing was launched" >&2
    exit 1
fi
received=$(iconv -f UTF-16LE -t UTF-8 "$record")
# The recorder's own path comes first; what was launched follows it.
echo "Launched:     ${received#* }"
