#!/usr/bin/env bash
# Builds and tests everything: installs what is missing, then the native
# preset (ASan and UBSan), the shipped win32 build (static checks) and the
# win64 build under wine64 on Xvfb, the release zip (checked as shipped, its
# modules compared with the win32 build's), then the fuzz run and the benchmarks.
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

# The release zip, checked as shipped. Reproducible: the win32 stage above
# built the same modules in another folder, and stripped they must be the
# same bytes as the release's.
echo "== package"
tools/package.sh >build/package.log
zip=$(tail -n 1 build/package.log)
exports=()
for name in VX_ENTRY_EXPORT VX_TREE_PROC_EXPORT; do
  exports+=("$(sed -n "s/^$name:INTERNAL=//p" build/release/CMakeCache.txt)")
done
python3 tests/package/check_package.py "$zip" "${exports[@]}"
python3 tests/package/check_package_test.py "$zip" "${exports[@]}"
compare=$(mktemp -d)
for module in vxhtml.dll vxframe.dll vxhost.exe; do
  for build in release win32; do
    SOURCE_DATE_EPOCH=0 i686-w64-mingw32-strip --strip-all -o "$compare/$build-$module" "build/$build/bin/$module"
  done
  if ! cmp "$compare/release-$module" "$compare/win32-$module"; then
    echo "package: $module differs between two builds of one commit" >&2
    exit 1
  fi
done
rm -rf "$compare"
echo "ok: two builds in two folders give the same modules"

# Called through bash: a script that lost its run bit still runs, and one that
# is missing fails the run.
echo "== fuzz"
bash tests/fuzz/run.sh
echo "== benchmarks"
bash bench/run.sh
echo "All suites passed."
