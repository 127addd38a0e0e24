#!/usr/bin/env bash
# Runs every benchmark executable in BUILD/bench and prints its output; fails when any of them fails.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
[[ -d "$build/bench" ]] || { echo "no benchmarks in $build/bench (configure with -DLUMORA_BENCH=ON)" >&2; exit 1; }
build=$(cd "$build" && pwd)
bench_dir="$build/bench"
export LUMORA_PROGRAM_FOLDER=${LUMORA_PROGRAM_FOLDER:-$build/bin}
# Benchmarks keep the recordings they make in their working directory: the build folder, never the sources.
cd "$build"
export LUMORA_SOURCE_DIR=$root
shopt -s nullglob
ran=0
failed=0
for f in "$bench_dir"/*; do
  [[ -f "$f" && -x "$f" ]] || continue
  echo "== $(basename "$f")"
  "$f" || { echo "!! $(basename "$f") failed" >&2; failed=$((failed + 1)); }
  ran=$((ran + 1))
done
echo "benchmarks run: $ran"
[[ $ran -gt 0 && $failed -eq 0 ]]
