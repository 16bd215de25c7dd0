#!/usr/bin/env bash
# An installed copy keeps ad.mdb in the user's data folder; a copy in a folder of its own keeps it beside itself.
# Builds the Debian package, installs it with dpkg, and starts both copies offscreen for a moment.
set -euo pipefail
program=$1
build=$(cd "$(dirname "$program")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Starts a program offscreen and waits (at most 20 s) for the file to appear.
starts_and_creates() {
    local exe=$1 file=$2
    QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_DATA_HOME= "$exe" &
    local pid=$!
    for _ in $(seq 200); do
        [ -f "$file" ] && break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -f "$file" ] || { echo "FAIL: $exe did not create $file"; return 1; }
    echo "ok: $exe created $file"
}

# A copy in a writable folder of its own.
mkdir -p "$work/portable" "$work/home"
cp "$program" "$work/portable/korvane"
starts_and_creates "$work/portable/korvane" "$work/portable/ad.mdb"
[ "$(sqlite3 "$work/portable/ad.mdb" 'select count(*) from bt')" = 4 ]

# The installed package.
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing the package needs root"
    exit 77
fi
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/korvane_*.deb)
info=$(dpkg-deb -I "$deb")
grep -q 'Depends:.*libqt6sql6-sqlite' <<<"$info" || { echo "FAIL: the package does not depend on the Qt SQLite driver"; exit 1; }
dpkg -i "$deb" >/dev/null
trap 'dpkg -r korvane >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
[ -f /usr/share/applications/korvane.desktop ] && [ -f /usr/share/icons/hicolor/scalable/apps/korvane.svg ]
starts_and_creates /usr/bin/korvane "$work/home/.local/share/Korvane/ad.mdb"
[ ! -e /usr/bin/ad.mdb ] || { echo "FAIL: the installed copy wrote beside itself"; exit 1; }
echo "1 passed, 0 failed"
