#!/usr/bin/env bash
# Installs whatever is missing of the build and test tools, and of any packages named as
# arguments (the benchmarks name theirs); does nothing when all are there. The Windows 11
# package is signed with osslsigncode 2.7 or later, the first to sign .msix files: where the
# release's own osslsigncode is older (Debian 12 has 2.5), it comes from the release's
# backports suite, added beside the machine's own Debian source.
set -euo pipefail

packages=(cmake make g++ clang-14 libclang-rt-14-dev googletest g++-mingw-w64-x86-64 wine64
    openssl python3 python3-jsonschema python3-yaml locales "$@")
# Wine shows a program's Japanese resources only when the Linux locale it runs in exists.
japanese=ja_JP.UTF-8
signer=osslsigncode
signer_minimum=2.7

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

installed_version() {
    dpkg-query -W -f='${Status} ${Version}' "$1" 2>/dev/null |
        sed -n 's/^install ok installed //p'
}

apt_install() {
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "$@"
}

# The URI and keyring of the machine's Debian source for its release, one-line or deb822 form,
# printed as "URI KEYRING" (KEYRING may be empty).
debian_source() {
    local codename=$1 file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk -v suite="$codename" '
            $1 == "deb" {
                keyring = ""; i = 2
                if ($2 ~ /^\[/) {
                    for (; i <= NF; i++) {
                        if ($i ~ /signed-by=/) {
                            keyring = $i
                            sub(/.*signed-by=/, "", keyring)
                            sub(/\]$/, "", keyring)
                        }
                        if ($i ~ /\]$/) { i++; break }
                    }
                }
                if ($(i + 1) == suite) { print $i, keyring; exit }
            }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk -v suite="$codename" '
            function flush() {
                if (is_deb && has_suite && uri != "") { print uri, keyring; found = 1 }
                is_deb = 0; has_suite = 0; uri = ""; keyring = ""
            }
            /^[ \t]*$/ { flush(); if (found) exit; next }
            /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") is_deb = 1 }
            /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) has_suite = 1 }
            /^URIs:/ { uri = $2 }
            /^Signed-By:/ { keyring = $2 }
            END { if (!found) flush() }' "$file"
    done | head -n 1
}

add_backports() {
    local codename=$1 list=/etc/apt/sources.list.d/$1-backports.list source uri keyring options
    if grep -rqs -- "$codename-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    source=$(debian_source "$codename")
    if [ -z "$source" ]; then
        echo "no Debian source for $codename in /etc/apt: cannot add $codename-backports" >&2
        exit 1
    fi
    read -r uri keyring <<<"$source"
    options=""
    if [ -n "$keyring" ]; then
        options="[signed-by=$keyring] "
    fi
    echo "adding $codename-backports from $uri"
    echo "deb $options$uri $codename-backports main" | "${sudo[@]}" tee "$list" >/dev/null
}

missing=()
for package in "${packages[@]}"; do
    if [ -z "$(installed_version "$package")" ]; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    apt_install "${missing[@]}"
fi

version=$(installed_version "$signer")
if [ -z "$version" ] || dpkg --compare-versions "$version" lt "$signer_minimum"; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    add_backports "$codename"
    echo "installing: $signer from $codename-backports"
    "${sudo[@]}" apt-get update -q
    apt_install -t "$codename-backports" "$signer"
fi

# The Japanese locale, generated once: the tests of the Japanese installer and window run in it.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "generating the $japanese locale"
    if grep -q "^# *$japanese UTF-8" /etc/locale.gen 2>/dev/null; then
        "${sudo[@]}" sed -i "s/^# *$japanese UTF-8/$japanese UTF-8/" /etc/locale.gen
    else
        echo "$japanese UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen >/dev/null
fi
