#!/usr/bin/env bash
# Pictures of the settings window and the setup program's two pages for the guides, from the
# real programs under Wine: docs/settings-window.*.png, docs/setup-window.*.png and
# docs/setup-result.*.png, each in English (en) and Japanese (ja).
#
#   bash scripts/screenshots.sh
#
# Builds the program and the capture into $QUORIEL_BUILD_DIR (default build/), installs the
# fonts (Wine's own, whose Tahoma is the dialog font, and IPA Gothic for Japanese) and a
# ja_JP.UTF-8 locale when missing, and makes a Wine prefix of its own,
# build/screenshot-prefix, once: the null display driver (no X display needed), a FontLink entry
# that gives Wine's dialog font the Japanese glyphs, and the HEIC type as Windows registers it.
# Each picture starts from no settings: Google Maps chosen, HEIC ticked and applied, an iPhone
# photo tried; the window is captured from inside the program's process
# (tests/settings/window_capture.h). The setup program runs from a folder of the prefix with the
# module and the settings program beside it: its first page as it opens, then its result page
# after Install, with no settings before it.
# Look at the pictures before committing them. Not part of the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
prefix=$build/screenshot-prefix
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
japanese=ja_JP.UTF-8
english=en_US.UTF-8
photo=$root/tests/data/corpus/IMG_5195.HEIC
photo_in_prefix='C:\Photos\IMG_5195.HEIC'

# setup.sh also makes the ja_JP.UTF-8 locale the Japanese window needs.
bash "$root/scripts/setup.sh" fonts-wine fonts-ipafont-gothic

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target QuorielSettings settings-screenshot window-capture \
    Quoriel QuorielSetup setup-screenshot

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"
stamp=$prefix/.quoriel-screenshots-3
if [ ! -f "$stamp" ]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    # The dialog font (MS Shell Dlg is Tahoma) is Wine's own Tahoma, which Debian's Wine does not
    # look for where the fonts-wine package puts it.
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
        "$prefix/drive_c/windows/Fonts/"
    # Tahoma has no Japanese glyphs: link it to IPA P Gothic.
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null
    "$wine" reg add 'HKCR\.heic' /v 'Content Type' /d image/heic /f >/dev/null
    # The next Wine start must pick up the display driver.
    "$wineserver" -k || true
    "$wineserver" -w || true
    touch "$stamp"
fi
mkdir -p "$prefix/drive_c/Photos" "$prefix/drive_c/QuorielSetup"
cp "$photo" "$prefix/drive_c/Photos/"
cp "$build/install/QuorielSetup.exe" "$build/shellext/Quoriel.dll" \
    "$build/settings/QuorielSettings.exe" "$prefix/drive_c/QuorielSetup/"
setup='C:\QuorielSetup\QuorielSetup.exe'

# A Linux path as Wine's Z: drive shows it.
to_windows() {
    local path="Z:$1"
    echo "${path//\//\\}"
}
program=$(to_windows "$build/settings/QuorielSettings.exe")
capture=$(to_windows "$build/tests/settings/window-capture.dll")
shots=$build/screenshots
mkdir -p "$shots"
for language in en ja; do
    locale=$english
    [ "$language" = ja ] && locale=$japanese
    "$wine" reg delete 'HKCU\Software\Vantorel\Quoriel' /f >/dev/null 2>&1 || true
    LC_ALL='' LANG=$locale LC_MESSAGES=$locale \
        "$wine" "$build/tests/settings/settings-screenshot.exe" "$program" "$capture" \
        "$(to_windows "$shots/settings-window.$language.bmp")" "$photo_in_prefix"
    python3 "$root/scripts/screenshot/bmp_to_png.py" "$shots/settings-window.$language.bmp" \
        "$root/docs/settings-window.$language.png"
    echo "written: docs/settings-window.$language.png"
    "$wine" reg delete 'HKCU\Software\Vantorel\Quoriel' /f >/dev/null 2>&1 || true
    LC_ALL='' LANG=$locale LC_MESSAGES=$locale \
        "$wine" "$build/tests/install/setup-screenshot.exe" "$setup" "$capture" \
        "$(to_windows "$shots/setup-window.$language.bmp")" \
        "$(to_windows "$shots/setup-result.$language.bmp")"
    for page in setup-window setup-result; do
        python3 "$root/scripts/screenshot/bmp_to_png.py" "$shots/$page.$language.bmp" \
            "$root/docs/$page.$language.png"
        echo "written: docs/$page.$language.png"
    done
done
