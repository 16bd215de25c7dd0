#!/usr/bin/env bash
# The real program watching on schedule, on an Xvfb display with a standalone tray (trayer): its icon in the tray,
# the notice of a release found at start-up (the tray's balloon, as there is no notice service here) opening 新集检查
# when clicked, the main window hidden to the tray by the window manager's close and brought back by the icon, and
# a start with --minimized showing the icon alone.
set -euo pipefail
program=$1
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/tests/e2e_common.sh"
need Xvfb xdotool xwininfo sqlite3 python3 trayer

work=$(mktemp -d)
trap 'kill ${app:-} ${tray:-} ${xvfb:-} ${feeds_PID:-} 2>/dev/null; rm -rf "$work"' EXIT

mkdir -p "$work/app" "$work/feeds"
cp "$program" "$work/app/korvane"
printf '<rss><channel><item><title>[G] Show - 09</title><link>https://x.example/9</link></item></channel></rss>' \
    >"$work/feeds/f.xml"
serve_files "$work/feeds" 5
sqlite3 "$work/app/ad.mdb" <<SQL
create table AD (num text, subg text, SearchN text, Episode text, AnimeN text, Other text);
create table bt (nub text, btset text, urldata text, utf8 integer, rssdata text);
insert into bt values ('1', 'Feed', 'http://s.example/?q=', 1, 'http://127.0.0.1:$port/f.xml?k=');
create table mr as select * from bt;
create table xd as select * from bt where 0;
insert into AD values ('1', 'G', 'Show', '8', 'Show', '');
create table settings (name text primary key, value text);
insert into settings values ('autocheck', '1');
SQL

start_display
trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1 &
tray=$!
sleep 1

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
# The program's small windows: the tray icon (at most 40 pixels high) and the balloon (taller, under 600 wide).
small_window() { # $1: "icon" or "balloon"
    for w in $(xdotool search --onlyvisible --class korvane 2>/dev/null); do
        read -r width height < <(xwininfo -id "$w" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
        if [ "$1" = icon ] && [ "$height" -le 40 ]; then echo "$w"; return 0; fi
        if [ "$1" = balloon ] && [ "$height" -gt 40 ] && [ "$width" -lt 600 ]; then echo "$w"; return 0; fi
    done
    return 1
}

"$work/app/korvane" >"$work/korvane.log" 2>&1 &
app=$!
main=$(window '^Korvane 0.9 Final$') || fail "no main window"
wait_for small_window icon >/dev/null || fail "no icon in the tray"
balloon=$(wait_for small_window balloon) || fail "no notice of the release found at start-up"
xdotool mousemove --window "$balloon" 20 20 click 1
check=$(window '^新集检查') || fail "a click on the notice opened no 新集检查"
[ "$(sqlite3 "$work/app/ad.mdb" 'select count(*) from seen')" = 1 ] || fail "the release shown was not marked seen"
# Escape closes it (with no window manager, it would stay over the tray).
xdotool windowfocus --sync "$check" key Escape
wait_for eval '! viewable "$check"' || fail "Escape left 新集检查 open"

# The window manager's close button hides the main window; the program goes on, and its icon brings it back.
python3 "$repo/tests/support/xclose.py" "$main"
wait_for eval '! viewable "$main"' || fail "the main window did not hide"
kill -0 "$app" || fail "closing the main window ended the program"
icon=$(small_window icon) || fail "the icon went with the window"
xdotool mousemove --window "$icon" 10 10 click 1
wait_for viewable "$main" || fail "the icon did not bring the main window back"
kill "$app"; wait "$app" 2>/dev/null || true

# Started with the session: the icon alone.
"$work/app/korvane" --minimized >>"$work/korvane.log" 2>&1 &
app=$!
wait_for small_window icon >/dev/null || fail "no icon in the tray after a start with --minimized"
for w in $(xdotool search --name '^Korvane 0.9 Final$' 2>/dev/null); do
    ! viewable "$w" || fail "the main window shows after a start with --minimized"
done
echo "1 passed, 0 failed"
