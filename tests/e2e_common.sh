# Shared by the scripts that drive the real program on an Xvfb display; sourced after $repo is set.

# Skips the script (77) when a tool it drives the display with is missing.
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
    done
}

# Ends the script with a picture of the whole screen, named after the script, to see what the user would have seen.
fail() {
    local shot
    shot="${TMPDIR:-/tmp}/korvane-$(basename "$0" .sh)-failure.png"
    echo "FAIL: $*"
    [ ! -s "${work:-}/korvane.log" ] || { echo "the program said:"; tail -n 20 "$work/korvane.log"; }
    [ -n "${DISPLAY:-}" ] && import -window root "$shot" 2>/dev/null && echo "screen: $shot"
    exit 1
}

# A display of our own, on no network port; $xvfb is its process. It does not reset when its last client goes, as
# the program does between two starts: a start during the reset could not connect.
start_display() {
    exec 3<> <(:)
    Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    read -r -t 20 display <&3 || fail "Xvfb did not start"
    export DISPLAY=":$display"
}

# A picture of a window, kept for the README when run by hand.
picture() {
    import -window "$1" "$work/$2.png"
    [ ! -w "$repo/docs" ] || [ "${CI:-}" = true ] || cp "$work/$2.png" "$repo/docs/"
}

# Runs the command until it succeeds, for 20 s at most.
wait_for() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }
# The newest window whose title matches, waited for (xdotool's own --sync would wait for ever).
newest_window() { xdotool search --name "$1" 2>/dev/null | tail -n 1 | grep .; }
window() { wait_for newest_window "$1"; }

# Serves the files of the folder on 127.0.0.1, for so many requests and two minutes at most; its port in $port.
serve_files() {
    coproc feeds { cd "$1" && exec timeout 120 python3 -c 'import http.server as h, sys
s = h.HTTPServer(("127.0.0.1", 0), h.SimpleHTTPRequestHandler); print(s.server_port, flush=True)
for _ in range(int(sys.argv[1])): s.handle_request()' "$2" 2>/dev/null; }
    read -r -t 10 port <&"${feeds[0]}" || fail "the feed server did not start"
}

pace() { sleep 0.4; }
# A click into a window brings it the keyboard, as a user's click does (there is no window manager).
click() { xdotool windowfocus --sync "$1"; xdotool mousemove --window "$1" "$2" "$3" click 1; pace; }
keys() { for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.15; done; pace; }
