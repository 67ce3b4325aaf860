#!/usr/bin/env bash
# Builds and tests everything: installs what is missing, then the native
# preset (ASan and UBSan), the shipped win32 build (static checks), the win64
# build under wine64 and the win32 build's Wine tests under 32-bit Wine, each
# Wine run on its own Xvfb; the release zip (checked as shipped, its modules
# compared with the win32 builds'), then the fuzz run and the benchmarks.
# Ends with a summary of every stage: tests run, time, and any stage this
# machine could not run (counted as skipped, never as passed).
# Extra arguments go to every ctest run (for example -R Placement).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
. cmake/wine-env.sh

# Every Wine run starts its own Xvfb (cmake/wine-run.sh), so no display is needed here.
unset DISPLAY

scratch=$(mktemp -d)
started=$(date +%s)
stage_start=$started
stage_name=
summary=()
skipped=0
begin() { stage_name=$1; stage_start=$(date +%s); echo "== $1"; }
# done_stage WHAT: the current stage's summary line.
done_stage() {
  summary+=("$(printf '%-12s %-64s %4d s' "$stage_name" "$1" $(( $(date +%s) - stage_start )))")
  stage_name=
}
print_summary() {
  local status=$?
  rm -rf "$scratch"
  echo "== summary"
  local line
  for line in "${summary[@]}"; do echo "  $line"; done
  [ -z "$stage_name" ] || echo "  $(printf '%-12s %s' "$stage_name" "FAILED")"
  echo "  total: $(( $(date +%s) - started )) s"
  if [ $status -eq 0 ]; then
    if [ $skipped -eq 0 ]; then echo "All suites passed."; else echo "All suites that ran passed; $skipped SKIPPED (see above)."; fi
  fi
}
trap print_summary EXIT

# ctest_stage PRESET [ARGS...]: runs one test preset; the summary counts its
# tests, followed by $stage_note if set.
stage_note=
ctest_stage() {
  local preset=$1 log=build/ctest-$1.log; shift
  ctest --preset "$preset" --output-log "$log" "$@"
  done_stage "$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 tests/p' "$log" | tail -n 1)$stage_note"
}

for preset in native win32 win64; do
  begin "$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest_stage "$preset" "$@"
done

# The shipped i686 build once more, with the Wine test programs, which run
# under 32-bit Wine wherever 32-bit code runs: natively, or on qemu-user's
# emulated CPU where the kernel cannot execute it (install-deps sets that up).
# Where neither is possible they are built (so that they at least link) and
# the stage says loudly that it did not run.
begin win32-wine
cmake --preset win32-wine >/dev/null
cmake --build --preset win32-wine
wine32=$(vx_wine32_status)
if [ "$wine32" = runs ]; then
  wine32_cpu=$(vx_wine32_cpu)
  if [ "$wine32_cpu" != native ]; then
    echo "32-bit Wine stage: 32-bit code runs on an $wine32_cpu CPU here; its times are not native ones" >&2
    stage_note=", CPU $wine32_cpu"
  fi
  ctest_stage win32-wine "$@"
  stage_note=
else
  programs=$(grep -c . build/win32-wine/wine-test-programs.txt)
  # The same programs' cases in the win64 stage, for scale.
  ctest --preset win64 --show-only=json-v1 >"$scratch/win64-tests.json"
  cases=$(python3 - "$scratch/win64-tests.json" build/win32-wine/wine-test-programs.txt <<'PY'
import json, os, sys
programs = set(open(sys.argv[2]).read().split())
tests = json.load(open(sys.argv[1]))["tests"]
print(sum(1 for t in tests if len(t.get("command", [])) > 1
          and os.path.basename(t["command"][1]).removesuffix(".exe") in programs))
PY
)
  echo "!!!!! 32-bit Wine stage NOT RUN: $wine32. Built but not run: $programs i686 test programs ($cases cases on win64), the wine-run checks and the 32-bit tree-fill benchmark. !!!!!" >&2
  skipped=$((skipped + 1))
  done_stage "SKIPPED: built $programs programs ($cases cases), ran none"
fi

# The release zip, checked as shipped. Reproducible: the win32 stages above
# built the same modules in other folders, and stripped they must be the
# same bytes as the release's; so the modules the 32-bit Wine tests loaded
# are the ones that ship.
begin package
tools/package.sh >build/package.log
zip=$(tail -n 1 build/package.log)
exports=()
for name in VX_ENTRY_EXPORT VX_TREE_PROC_EXPORT; do
  exports+=("$(sed -n "s/^$name:INTERNAL=//p" build/release/CMakeCache.txt)")
done
python3 tests/package/check_package.py "$zip" "${exports[@]}"
python3 tests/package/check_package_test.py "$zip" "${exports[@]}"
compare=$scratch/compare
mkdir "$compare"
for module in vxhtml.dll vxframe.dll vxhost.exe vxpalette.exe; do
  for build in release win32 win32-wine; do
    SOURCE_DATE_EPOCH=0 i686-w64-mingw32-strip --strip-all -o "$compare/$build-$module" "build/$build/bin/$module"
  done
  for build in win32 win32-wine; do
    if ! cmp "$compare/release-$module" "$compare/$build-$module"; then
      echo "package: $module differs between the release and build/$build, two builds of one commit" >&2
      exit 1
    fi
  done
done
echo "ok: three builds in three folders give the same modules"
done_stage "zip checked; modules identical in release, win32, win32-wine"

# Called through bash: a script that lost its run bit still runs, and one that
# is missing fails the run.
begin fuzz
bash tests/fuzz/run.sh
done_stage "no crash"
begin benchmarks
bash bench/run.sh
if [ "$wine32" = runs ]; then
  done_stage "ratios printed above"
else
  done_stage "ratios printed above; 32-bit tree fill SKIPPED"
fi
