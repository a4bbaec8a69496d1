#!/usr/bin/env bash
# Fuzzes each target for a bounded time on a copy of the seed corpus (the
# repository's corpus is never written) and fails on any finding, printing the
# input that broke it. Usage: fuzz/run.sh [seconds per target] [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build/fuzz}
work=$(mktemp -d "${TMPDIR:-/tmp}/folder2pop-fuzz-run-XXXXXX")
# Every input becomes a file, and its POP files too: on tmpfs that goes two to
# three times as fast. The growing corpus stays on disk.
scratch=$work
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d /dev/shm/folder2pop-fuzz-scratch-XXXXXX)
fi
trap 'rm -rf "$work" "$scratch"' EXIT

for target in folder_line_reader_fuzz conversion_fuzz conversion_faults_fuzz; do
    mkdir -p "$work/$target/corpus" "$scratch/$target"
    cp fuzz/corpus/* "$work/$target/corpus/"
    status=0
    TMPDIR="$scratch/$target" "$build/$target" \
        -max_total_time="$seconds" -max_len=200000 -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/$target/" \
        "$work/$target/corpus" >"$work/$target/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target/log")
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$work/$target/log")
    echo "$target: ${runs:-?} executions in ${time:-?} s (${runs:+$((runs / (time > 0 ? time : 1)))} per second), exit $status"
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$work/$target/log"
        for finding in "$work/$target"/crash-* "$work/$target"/leak-* \
                       "$work/$target"/timeout-* "$work/$target"/oom-*; do
            [ -f "$finding" ] || continue
            echo "finding $(basename "$finding"), $(wc -c <"$finding") bytes, base64:"
            head -c 4096 "$finding" | base64
        done
        exit 1
    fi
done
