#!/usr/bin/env bash
# Runs every fuzzer in DIR for SECONDS each, starting from its seed corpus in fuzz/corpus/<name>.
set -euo pipefail
dir=$1; seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
ran=0
for f in "$dir"/fuzz_*; do
  [[ -x "$f" ]] || continue
  name=$(basename "$f")
  corpus=$(mktemp -d)
  [[ -d "$root/fuzz/corpus/$name" ]] && cp -r "$root/fuzz/corpus/$name/." "$corpus/"
  echo "== $name (${seconds}s)"
  "$f" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  rm -rf "$corpus"
  ran=$((ran + 1))
done
echo "fuzzers run: $ran"
