#!/usr/bin/env bash
# Builds and tests everything: installs what is missing, then the native
# preset (ASan and UBSan), the shipped win32 build (static checks) and the
# win64 build under wine64 on Xvfb, then the fuzz run and the benchmarks.
# Extra arguments go to every ctest run (for example -R Placement).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh

# Every Wine run starts its own Xvfb (cmake/wine-run.sh), so no display is needed here.
unset DISPLAY

for preset in native win32 win64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" "$@"
done

# Called through bash: a script that lost its run bit still runs, and one that
# is missing fails the run.
echo "== fuzz"
bash tests/fuzz/run.sh
echo "== benchmarks"
bash bench/run.sh
echo "All suites passed."
