#!/usr/bin/env bash
# Runs the benchmarks of the native build and prints their ratios against
# their targets. A slow machine only prints; a ratio far beyond its target
# (a loader grossly slower than it should be) fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VX_BENCH_BUILD:-$root/build/native}
[ -f "$build/CMakeCache.txt" ] || cmake --preset native -S "$root" >/dev/null

# ---- Definition file loader (deffile): target <= 1, fail above 3 ----
if cmake --build "$build" --target deffile_load_bench -j2 >/dev/null 2>&1; then
  "$build/bin/deffile_load_bench" --fail-above=3
else
  echo "deffile: benchmark not built (is libbenchmark-dev installed?)"
fi

# ---- Tag tree opening under Wine (tree): target <= 1.10, fail above 1.5 ----
win64=${VX_BENCH_WIN64_BUILD:-$root/build/win64}
if [ -f "$win64/CMakeCache.txt" ] &&
   cmake --build "$win64" --target tree_fill_bench wine_prefix_template -j2 >/dev/null 2>&1; then
  # A modal window left up by a fault would otherwise hold the run forever.
  timeout 300 "$root/cmake/wine-run.sh" "$win64/bin/tree_fill_bench.exe" --fail-above=1.5
else
  echo "tree: benchmark not built (configure the win64 preset first)"
fi
