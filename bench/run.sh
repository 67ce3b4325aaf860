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
