#!/usr/bin/env bash
# Runs every benchmark binary of a build tree, one after another.
set -euo pipefail
# The game benchmarks open the audio device: OpenAL Soft's null backend, never a real one.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
build="${1:-build}"
shopt -s nullglob
status=0
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_counters_tabular=true || status=1
done
exit $status
