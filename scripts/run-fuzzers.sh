#!/usr/bin/env bash
# Runs each fuzz target of a build tree for a number of seconds on its seed corpus.
# Crashes and timeouts fail the run; new corpus entries go to a scratch folder.
set -euo pipefail
build="${1:-build-fuzz}"
default_seconds="${2:-60}"
shopt -s nullglob
status=0
for f in "$build"/fuzz/fuzz_*; do
    [ -f "$f" ] && [ -x "$f" ] || continue
    name=$(basename "$f")
    # FUZZ_SECONDS_<target> (e.g. FUZZ_SECONDS_fuzz_targa=60) overrides the common duration.
    override="FUZZ_SECONDS_${name}"
    seconds="${!override:-$default_seconds}"
    seeds="$build/fuzz/${name}_seeds"
    # Options of the target's own (fuzz/fuzz_NAME.options), e.g. a larger -max_len.
    options=$( [ -f "$f.options" ] && cat "$f.options" || true )
    work=$(mktemp -d)
    echo "== $name for ${seconds}s"
    # shellcheck disable=SC2086 # the options are words to split
    if ! "$f" $options -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz/${name}-" "$work" $( [ -d "$seeds" ] && echo "$seeds" ) \
        >"$build/fuzz/$name.log" 2>&1; then
        tail -n 40 "$build/fuzz/$name.log"
        status=1
    else
        grep -E "stat::number_of_executed_units|Done" "$build/fuzz/$name.log" | tail -n 2
    fi
    rm -rf "$work"
done
exit $status
