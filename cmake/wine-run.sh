#!/usr/bin/env bash
# Runs one Windows program, 32-bit or 64-bit, under Wine in a private copy of
# the build's template prefix, on a private Xvfb, and passes the program's
# exit status through. Keyboard focus lives in the X server, so tests that
# run side by side on one display would steal it from each other: each run
# gets its own. VX_WINE_SHARED_DISPLAY=1 uses $DISPLAY instead (to watch a
# test run); VX_WINE_LC_ALL sets the program's locale, and with it the
# system code page (ja_JP.UTF-8, code page 932, unless set).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
exe=$1; shift
bin=$(cd "$(dirname "$exe")" && pwd)
template=$bin/../wine/template
fail() { echo "wine-run: $*" >&2; exit 125; }
[ -f "$template/.ready" ] || fail "no template prefix in $template (build the wine_prefix_template target)"
vx_wine_environment
loader=$(vx_wine_loader "$exe")
if [ "$loader" = "$VX_WINE_DIR/wine" ]; then
  wine32=$(vx_wine32_status)
  [ "$wine32" = runs ] || fail "$(basename "$exe") is a 32-bit program and cannot run here: $wine32"
  vx_prefix_has_wow64 "$template" ||
    fail "the template prefix $template has no 32-bit half (made before 32-bit Wine could run): rebuild the wine_prefix_template target"
fi
shared_display=${DISPLAY:-}
work=
xvfb_pid=
program_pid=

# Stops a run's Wine processes and its Xvfb and drops its prefix; the prefix
# goes only once its server has gone, so that a new prefix on the same inode
# never meets a server that is still exiting.
stop_run() {  # PREFIX XVFB_PID
  [ -d "$1" ] || return 0
  vx_stop_prefix "$1"
  [ -n "$2" ] && kill "$2"
  rm -rf "$1"
}
# After a normal end the run is stopped in the background, so the caller is
# not held up.
clean_up() {
  [ -n "$work" ] || return 0
  local prefix=$work xvfb=$xvfb_pid
  work= xvfb_pid=
  ( stop_run "$prefix" "$xvfb" ) >/dev/null 2>&1 </dev/null &
}
# A signal stops everything at once (an interrupted run gets SIGINT, a time
# limit SIGTERM) ...
on_signal() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  if [ -n "$work" ]; then stop_run "$work" "$xvfb_pid" >/dev/null 2>&1 </dev/null; fi
  work= xvfb_pid=
  exit "$1"
}
trap clean_up EXIT
trap 'on_signal 143' TERM
trap 'on_signal 130' INT
trap 'on_signal 129' HUP
# ... and SIGKILL, which CTest sends to a whole process tree when a test runs
# out of time, leaves it to a janitor outside that tree: it waits for this
# script to end and stops the run if nothing else did.
start_janitor() {
  ( setsid bash -c "VX_WINESERVER=$VX_WINESERVER; $(declare -f stop_run vx_stop_prefix)"'
      tail --pid="$1" -f /dev/null; stop_run "$2" "$3"' janitor $$ "$work" "$xvfb_pid" \
      </dev/null >/dev/null 2>&1 & )
}

# One run in a new prefix; leaves the status in $status, the bytes the
# program wrote to stdout in $written, and in $crashed whether it crashed.
run_once() {
  work=$(mktemp -d "$bin/../wine/run.XXXXXX") || fail "cannot make a prefix beside $template"
  vx_copy_prefix "$template" "$work" || fail "cannot copy the template prefix"
  export WINEPREFIX=$work

  if [ "${VX_WINE_SHARED_DISPLAY:-0}" != 1 ] || [ -z "$shared_display" ]; then
    local started=0
    vx_start_xvfb "$work" || started=$?
    xvfb_pid=$vx_xvfb_pid
    [ $started -eq 0 ] || fail "Xvfb did not start"
  fi
  start_janitor

  # In the background with a wait, so that a signal is handled at once and
  # not only once the program has ended.
  : >"$work/.stdout"; : >"$work/.stderr"
  "$loader" "$exe" "$@" >"$work/.stdout" 2>"$work/.stderr" &
  program_pid=$!
  tail -q -f --pid="$program_pid" "$work/.stdout" &
  local tail_out=$!
  tail -q -f --pid="$program_pid" "$work/.stderr" >&2 &
  local tail_err=$!
  wait "$program_pid"
  status=$?
  program_pid=
  wait "$tail_out" "$tail_err"
  written=$(stat -c %s "$work/.stdout" 2>/dev/null || echo 0)
  crashed=0
  is_crash "$status" "$work/.stderr" && crashed=1
  clean_up
}

# Exit statuses of a crash under Wine: the low byte of an exception code
# (0xC0000005 gives 5, abort() gives 3, most others are 0x80 and above), and
# any run for which Wine reported an unhandled exception.
is_crash() {
  case $1 in 3|5) return 0 ;; esac
  [ "$1" -ge 128 ] && return 0
  grep -q "^wine: Unhandled" "$2" 2>/dev/null
}

run_once "$@"
# A failure before the program wrote a byte may be Wine failing to start, not
# the program failing: that gets one more try, in a new prefix on a new
# display. A crash is the program's own and is never tried again.
if [ "$status" -ne 0 ] && [ "$written" -eq 0 ] && [ "$crashed" -eq 0 ]; then
  echo "wine-run: $(basename "$loader") ended with status $status before $(basename "$exe") wrote anything; trying once more" >&2
  run_once "$@"
fi
exit "$status"
