#!/usr/bin/env bash
# Builds and tests everything: installs what is missing, then the native
# preset (ASan and UBSan), the shipped win32 build (static checks) and the
# win64 build under wine64 on Xvfb, then the fuzz run and the benchmarks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh

# One X display for the whole suite.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 91 120); do
    [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
  done
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${display#:} ] && break; sleep 0.1; done
fi

for preset in native win32 win64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

if [ -x tests/fuzz/run.sh ]; then
  echo "== fuzz"
  tests/fuzz/run.sh
fi
if [ -x bench/run.sh ]; then
  echo "== benchmarks"
  bench/run.sh
fi
echo "All suites passed."
