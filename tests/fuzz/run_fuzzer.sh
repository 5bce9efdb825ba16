#!/usr/bin/env bash
# Runs a fuzz target for a bounded time from its seed corpus, keeping what it finds out of the
# repository: run_fuzzer.sh TARGET SEED-DIR SECONDS
set -euo pipefail
target=$1 seeds=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/corpus" "$scratch/crashes"
# First replay every seed, regression cases included, then explore.
"$target" -runs=0 "$seeds"
status=0
"$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/crashes/" \
    "$scratch/corpus" "$seeds" >"$scratch/log" 2>&1 || status=$?
grep -E '^(#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$scratch/log" || true
if [ "$status" -ne 0 ] || [ -n "$(ls "$scratch/crashes")" ]; then
    tail -n 40 "$scratch/log" >&2
    echo "crash inputs found; add them to $seeds as regression cases:" >&2
    for crash in "$scratch"/crashes/*; do
        echo "$(basename "$crash"): $(od -An -tx1 "$crash" | tr -d '\n' | head -c 400)" >&2
    done
    exit 1
fi
