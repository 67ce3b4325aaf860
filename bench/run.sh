#!/usr/bin/env bash
# Runs the benchmarks of the native build and prints their ratios against
# their targets. A slow machine only prints; a ratio far beyond its target
# (a loader grossly slower than it should be) fails, and so does a benchmark
# that cannot be built or run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VX_BENCH_BUILD:-$root/build/native}
[ -f "$build/CMakeCache.txt" ] || cmake --preset native -S "$root" >/dev/null

# ---- Definition file loader (deffile): target <= 1, fail above 3 ----
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Builds quietly, but shows why when the build fails.
build_or_fail() {
  local tree=$1; shift
  if ! cmake --build "$tree" "$@" -j2 >"$log" 2>&1; then
    tail -40 "$log" >&2
    echo "bench: cannot build $* in $tree" >&2
    exit 1
  fi
}

build_or_fail "$build" --target deffile_load_bench
"$build/bin/deffile_load_bench" --fail-above=3

# ---- Tag tree opening under Wine (tree): target <= 1.10, fail above 1.5 ----
win64=${VX_BENCH_WIN64_BUILD:-$root/build/win64}
[ -f "$win64/CMakeCache.txt" ] || cmake --preset win64 -S "$root" >/dev/null
build_or_fail "$win64" --target tree_fill_bench wine_prefix_template
# A modal window left up by a fault would otherwise hold the run forever.
timeout 300 "$root/cmake/wine-run.sh" "$win64/bin/tree_fill_bench.exe" --fail-above=1.5
