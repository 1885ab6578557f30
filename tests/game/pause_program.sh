#!/usr/bin/env bash
# The real program paused as a person would: real key presses (X test extension, through the
# keyboard focus) start a game, P shows "PAUSED", Pause resumes, P pauses again and Escape
# quits at once. Screenshots stay in the output folder.
set -uo pipefail
program="$1"
out="$2"
mkdir -p "$out"
rm -f "$out"/*.png

fail() {
    echo "FAILED: $*"
    exit 1
}

"$program" >"$out/stdout.txt" 2>"$out/stderr.txt" &
pid=$!
trap 'kill -9 $pid 2>/dev/null' EXIT

id=""
for _ in $(seq 1 200); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Zindrel$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.05
done
[ -n "$id" ] || fail "no window appeared"

key() {
    xdotool windowfocus --sync "$id" && xdotool key "$@"
}
# White pixels of the window inside a rectangle (width x height + left + top, in pixels).
white_in() {
    import -window "$id" "$out/$1.png" 2>/dev/null &&
        convert "$out/$1.png" -crop "$2" +repage -fill black +opaque white -fill white \
            -opaque white -format "%[fx:round(mean*w*h)]" info:
}
# Polls (up to 20 s) until the named screenshot has more (gt) or fewer (lt) white pixels in
# the rectangle than the limit.
wait_for() {
    local name="$1" box="$2" test="$3" limit="$4"
    for _ in $(seq 1 200); do
        count=$(white_in "$name" "$box") && [ "$count" "-$test" "$limit" ] && return 0
        sleep 0.1
    done
    return 1
}
paused=492x62+266+322 # "PAUSED", centred
help=420x31+302+384   # "P: resume   Esc: quit" under it
title=620x42+202+457  # "Press Fire!"

wait_for title "$title" gt 500 || fail "no title screen"
key space
wait_for play "$title" lt 50 || fail "no game started"
key p
wait_for paused "$paused" gt 1500 || fail "no \"PAUSED\" after P"
[ "$(white_in paused "$help")" -gt 300 ] || fail "no help line under \"PAUSED\""
key Pause
wait_for resumed "$paused" lt 50 || fail "Pause did not resume"
key p
wait_for paused-again "$paused" gt 1500 || fail "no \"PAUSED\" after the second P"

key Escape
for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running 2 s after Escape during pause"
wait "$pid" || fail "exit status $?"
echo "1 passed, 0 failed"
