#!/usr/bin/env bash
# The real program, played as a person would: start it, wait out the splash, press Space to
# start, steer and fire, then quit with Escape. Real key events go to its window (xdotool);
# screenshots of the splash, the title and play are kept in the output folder. It must exit
# with status 0 at once and print exactly one line: the start-up line.
set -uo pipefail
program="$1"
out="$2"
mkdir -p "$out"
rm -f "$out"/*.png

fail() {
    echo "FAILED: $*"
    [ -s "$out/stdout.txt" ] && { echo "--- program output"; cat "$out/stdout.txt"; }
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

# White pixels inside a rectangle of a screenshot (width x height + left + top, in pixels).
white_in() {
    convert "$1" -crop "$2" +repage -fill black +opaque white -fill white -opaque white \
        -format "%[fx:round(mean*w*h)]" info:
}
key() { xdotool key --window "$id" "$@"; }

sleep 1.5
import -window "$id" "$out/splash.png" || fail "no splash screenshot"
# The splash lasts 275 frames at about 62 frames a second.
sleep 4
import -window "$id" "$out/title.png" || fail "no title screenshot"
[ "$(white_in "$out/title.png" 620x42+202+457)" -gt 500 ] || fail "no \"Press Fire!\" on the title"

key space
sleep 0.4
xdotool keydown --window "$id" Left
sleep 0.4
xdotool keyup --window "$id" Left
key space
sleep 0.6
import -window "$id" "$out/play.png" || fail "no play screenshot"
[ "$(white_in "$out/play.png" 369x35+624+714)" -gt 200 ] || fail "no score at the bottom right"
[ "$(white_in "$out/play.png" 620x42+202+457)" -lt 50 ] || fail "still the title screen"

key Escape
for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running 2 s after Escape"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(wc -l <"$out/stdout.txt")" -eq 1 ] || fail "printed more than the start-up line"
grep -qE '^Error at main\.cpp:[0-9]+ - Making window active\.$' "$out/stdout.txt" ||
    fail "the start-up line is missing"
echo "1 passed, 0 failed"
