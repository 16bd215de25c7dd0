#!/usr/bin/env bash
# Installs the Debian packages Korvane needs to build, run and test, and only those that are missing.
set -euo pipefail

packages=(
    g++ make cmake ninja-build pkg-config
    qt6-base-dev libqt6sql6-sqlite libqt6svg6 qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-microhei xdg-utils
    sqlite3 xvfb xauth xdotool imagemagick python3
    trayer dbus
    clang
    mdbtools mdbtools-dev
    zlib1g-dev
    libopencc-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
