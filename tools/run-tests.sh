#!/usr/bin/env bash
# Builds and tests everything: installs what is missing, then the native
# preset (ASan and UBSan), the shipped win32 build (static checks) and the
# win64 build under wine64 on Xvfb, the release zip (checked as shipped and
# packaged twice to compare), then the fuzz run and the benchmarks.
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

# The release zip, checked as shipped; a second packaging in other folders
# must give the same bytes.
echo "== package"
tools/package.sh >build/package.log
zip=$(tail -n 1 build/package.log)
exports=()
for name in VX_ENTRY_EXPORT VX_TREE_PROC_EXPORT; do
  exports+=("$(sed -n "s/^$name:INTERNAL=//p" build/release/CMakeCache.txt)")
done
python3 tests/package/check_package.py "$zip" "${exports[@]}"
python3 tests/package/check_package_test.py "$zip" "${exports[@]}"
VX_RELEASE_DIR=$root/build/release-again VX_DIST_DIR=$root/build/dist-again \
  tools/package.sh >build/package-again.log
if ! cmp "$zip" "$(tail -n 1 build/package-again.log)"; then
  echo "package: two packagings of one commit differ" >&2
  exit 1
fi
echo "ok: two packagings of one commit are byte-identical"

if [ -x tests/fuzz/run.sh ]; then
  echo "== fuzz"
  tests/fuzz/run.sh
fi
if [ -x bench/run.sh ]; then
  echo "== benchmarks"
  bench/run.sh
fi
echo "All suites passed."
