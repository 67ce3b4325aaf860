#!/usr/bin/env bash
# wine_run_test.sh CASE WINE_RUN PROBE: one case of wine-run.sh's promises.
set -u
case_name=$1 wine_run=$2 probe=$3
. "$(dirname "$wine_run")/wine-env.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed() { echo "FAILED: $*"; cat "$scratch"/* 2>/dev/null; exit 1; }
retries() { grep -c "trying once more" "$scratch/err" || true; }

case $case_name in
  CrashIsNeverTriedAgain)
    "$wine_run" "$probe" crash >"$scratch/out" 2>"$scratch/err"
    status=$?
    # 5: an access violation. A 32-bit program on an emulated CPU (qemu-user)
    # reaches Wine's handler without the fault's trap number, and Wine names
    # it an illegal instruction: 29.
    expected=5
    if [ "$(vx_pe_kind "$probe")" = PE32 ] && [ "$(vx_wine32_cpu)" != native ]; then expected=29; fi
    [ "$status" -eq "$expected" ] || failed "a crash ended with status $status, not $expected"
    [ "$(retries)" -eq 0 ] || failed "a crash was tried again"
    ;;
  SilentFailureIsTriedOnceAndSaysSo)
    "$wine_run" "$probe" silent-failure >"$scratch/out" 2>"$scratch/err"
    status=$?
    [ "$status" -eq 7 ] || failed "the status was $status, not the program's 7"
    [ "$(retries)" -eq 1 ] || failed "not exactly one logged retry"
    ;;
  CodePageFollowsVxWineLcAll)
    for locale_page in "default 932" "ja_JP.UTF-8 932" "en_US.UTF-8 1252"; do
      read -r locale page <<<"$locale_page"
      if [ "$locale" = default ]; then
        env -u VX_WINE_LC_ALL "$wine_run" "$probe" code-page >"$scratch/out" 2>"$scratch/err"
      else
        VX_WINE_LC_ALL=$locale "$wine_run" "$probe" code-page >"$scratch/out" 2>"$scratch/err"
      fi
      [ "$(tr -d '\r' <"$scratch/out")" = "$page" ] || failed "code page under $locale: $(cat "$scratch/out"), not $page"
    done
    ;;
  SignalsLeaveNoPrefixNorDisplay)
    # CTest ends an overdue test with SIGKILL to the whole tree (or SIGTERM,
    # with a newer CTest); an interrupted run gets SIGINT. Job control keeps
    # SIGINT from being ignored in the background run, as it is in a terminal.
    set -m
    for signal in TERM INT KILL; do
      : >"$scratch/out"
      "$wine_run" "$probe" wait >"$scratch/out" 2>"$scratch/err" &
      runner=$!
      for _ in $(seq 600); do [ -s "$scratch/out" ] && break; sleep 0.1; done
      read -r prefix display <"$scratch/out" || failed "the probe never started ($signal)"
      kill -s "$signal" "$runner"
      wait "$runner"
      unix_prefix=$(echo "$prefix" | sed 's|^[A-Za-z]:||; s|\\|/|g')
      socket=/tmp/.X11-unix/X${display#:}
      for _ in $(seq 300); do
        [ ! -e "$unix_prefix" ] && [ ! -e "$socket" ] && break
        sleep 0.1
      done
      [ ! -e "$unix_prefix" ] || failed "SIGNAL $signal left the prefix $unix_prefix"
      [ ! -e "$socket" ] || failed "SIGNAL $signal left the display $display"
    done
    ;;
  A32BitProgramNeedsATemplateWithItsThirtyTwoBitHalf)
    # A template made while 32-bit Wine could not start has an empty
    # syswow64; a 32-bit program is refused with the reason, before any Wine
    # starts. Only the headers that choose the loader: MZ, e_lfanew, PE32.
    mkdir -p "$scratch/bin" "$scratch/wine/template/drive_c/windows/syswow64"
    touch "$scratch/wine/template/.ready"
    exe=$scratch/bin/pe32.exe
    head -c 128 /dev/zero >"$exe"
    put() { printf "$2" | dd of="$exe" bs=1 seek="$1" conv=notrunc status=none; }
    put 0 'MZ'; put 60 '\x40'; put 64 'PE\0\0'; put 88 '\x0b\x01'
    [ "$(vx_pe_kind "$exe")" = PE32 ] || failed "the test's own header is not read as PE32"
    "$wine_run" "$exe" >"$scratch/out" 2>"$scratch/err"
    status=$?
    [ "$status" -eq 125 ] || failed "the status was $status, not wine-run's own 125"
    if [ "$(vx_wine32_status)" = runs ]; then reason="has no 32-bit half"; else reason="cannot run here"; fi
    grep -q "$reason" "$scratch/err" || failed "the refusal does not say \"$reason\""
    ;;
  *) failed "no case $case_name" ;;
esac
echo "passed: $case_name"
