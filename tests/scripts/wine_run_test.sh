#!/usr/bin/env bash
# wine_run_test.sh CASE WINE_RUN PROBE: one case of wine-run.sh's promises.
set -u
case_name=$1 wine_run=$2 probe=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed() { echo "FAILED: $*"; cat "$scratch"/* 2>/dev/null; exit 1; }
retries() { grep -c "trying once more" "$scratch/err" || true; }

case $case_name in
  CrashIsNeverTriedAgain)
    "$wine_run" "$probe" crash >"$scratch/out" 2>"$scratch/err"
    status=$?
    # 5: an access violation. Where 32-bit code runs on an emulated CPU
    # (qemu-user), the fault reaches Wine's handler without its trap number
    # and Wine names it an illegal instruction: 29.
    case $status in 5|29) ;; *) failed "a crash ended with status $status, not 5 (or 29 on an emulated CPU)" ;; esac
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
  *) failed "no case $case_name" ;;
esac
echo "passed: $case_name"
