#!/usr/bin/env bash
# Makes the Debian package of a build tree, checks it (lintian without errors, computed
# dependencies, desktop entry, AppStream metainfo, icons at their sizes), unpacks it into a
# scratch root and plays it from there as an installed game: started through PATH from another
# folder, it must show its window, quit on Escape with status 0 and find its data.
# Needs a display (scripts/with-display.sh). Usage: deb_test.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build="$1"
scratch="$2"
rm -rf "$scratch"
mkdir -p "$scratch/root" "$scratch/elsewhere"
fail() {
    echo "FAILED: $*"
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null
deb=$(echo "$scratch"/out/*.deb)
[ -f "$deb" ] || fail "no package made"
lintian --fail-on error "$deb" || fail "lintian reports errors"
dpkg-deb -f "$deb" Depends | grep -q 'libglfw3' || fail "dependencies not computed: $(dpkg-deb -f "$deb" Depends)"

dpkg-deb -x "$deb" "$scratch/root"
usr="$scratch/root/usr"
desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop entry"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >/dev/null ||
    fail "metainfo: $(appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml)"
for size in 16 32 48 64 128 256; do
    got=$(identify -format '%wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/zindrel.png")
    [ "$got" = "${size}x${size}" ] || fail "icon ${size}x${size} is $got"
done
[ "$(readlink "$usr/games/zindrel")" = "../lib/zindrel/zindrel" ] || fail "games/zindrel is no relative link"

cd "$scratch/elsewhere"
PATH="$usr/games:$PATH" zindrel >stdout.txt 2>stderr.txt &
pid=$!
trap 'kill -9 $pid 2>/dev/null || true' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name '^Zindrel$' | head -n 1) ||
    fail "no window appeared"
# Only the press: the game quits on it, and its window can be gone before a release is sent.
xdotool keydown --window "$window" Escape
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "still running 10 s after Escape"
status=0
wait "$pid" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "exit status $status"
if grep -h "Can't open resource" stdout.txt stderr.txt; then
    fail "the installed game did not find its data"
fi
echo "package $(basename "$deb") checked and played"
