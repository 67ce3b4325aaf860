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
# On both architectures: the 64-bit build the Wine tests use, and the 32-bit
# one that ships, where this machine can execute 32-bit code.
. "$root/cmake/wine-env.sh"
tree_fill() {  # PRESET BUILD_FOLDER [NOTE]
  [ -f "$2/CMakeCache.txt" ] || cmake --preset "$1" -S "$root" >/dev/null
  build_or_fail "$2" --target tree_fill_bench wine_prefix_template
  echo "tree fill, $1${3:-}:"
  # A modal window left up by a fault would otherwise hold the run forever.
  timeout 300 "$root/cmake/wine-run.sh" "$2/bin/tree_fill_bench.exe" --fail-above=1.5
}
tree_fill win64 "${VX_BENCH_WIN64_BUILD:-$root/build/win64}"
wine32=$(vx_wine32_status)
if [ "$wine32" = runs ]; then
  cpu=$(vx_wine32_cpu)
  note=; [ "$cpu" = native ] || note=" (CPU $cpu: both sides of the ratio emulated)"
  tree_fill win32-wine "${VX_BENCH_WIN32_BUILD:-$root/build/win32-wine}" "$note"
else
  echo "!!!!! 32-bit tree-fill benchmark NOT RUN: $wine32. !!!!!" >&2
fi

# ---- Enter to text through the palette into notepad (palette): adds <= 50 ms, fail above 500 ----
# The 64-bit build: the palette and the sample editor timed in one run.
win64=${VX_BENCH_WIN64_BUILD:-$root/build/win64}
build_or_fail "$win64" --target palette_latency_bench wine_prefix_template
timeout 300 "$root/cmake/wine-run.sh" "$win64/bin/palette_latency_bench.exe" --fail-above=500
