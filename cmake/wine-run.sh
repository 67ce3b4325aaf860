#!/usr/bin/env bash
# Runs one Windows program under wine64 in a private copy of the build's
# template prefix, on a private Xvfb, and passes the program's exit status
# through. Keyboard focus lives in the X server, so tests that run side by
# side on one display would steal it from each other: each run gets its own.
# VX_WINE_SHARED_DISPLAY=1 uses $DISPLAY instead (to watch a test run).
set -u
exe=$1; shift
bin=$(cd "$(dirname "$exe")" && pwd)
template=$bin/../wine/template
fail() { echo "wine-run: $*" >&2; exit 125; }
[ -f "$template/.ready" ] || fail "no template prefix in $template (build the wine_prefix_template target)"
export WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
shared_display=${DISPLAY:-}

# One run in a new prefix; leaves the status in $status and the bytes the
# program wrote to stdout in $written.
run_once() {
  work=$(mktemp -d "$bin/../wine/run.XXXXXX") || fail "cannot make a prefix beside $template"
  cp -al "$template/." "$work/" && cp --remove-destination "$template"/*.reg "$work/" ||
    fail "cannot copy the template prefix"
  export WINEPREFIX=$work

  xvfb_pid=
  if [ "${VX_WINE_SHARED_DISPLAY:-0}" != 1 ] || [ -z "$shared_display" ]; then
    # -displayfd lets the server pick a free display number without races.
    exec 3> "$work/.display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 400); do [ -s "$work/.display" ] && break; sleep 0.05; done
    [ -s "$work/.display" ] || { kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"; fail "Xvfb did not start"; }
    export DISPLAY=:$(head -n 1 "$work/.display")
  fi

  /usr/lib/wine/wine64 "$exe" "$@" | tee "$work/.stdout"
  status=${PIPESTATUS[0]}
  written=$(stat -c %s "$work/.stdout" 2>/dev/null || echo 0)
  # Stop the private servers and drop the prefix without holding up the
  # caller; the prefix goes only once its server has gone, so that a new
  # prefix on the same inode never meets a server that is still exiting.
  ( WINEPREFIX=$work /usr/lib/wine/wineserver -k; WINEPREFIX=$work /usr/lib/wine/wineserver -w
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid"; rm -rf "$work" ) >/dev/null 2>&1 </dev/null &
}

run_once "$@"
# A failure before the program wrote a byte is Wine failing to start, not the
# program failing: that gets one more try, in a new prefix on a new display.
if [ "$status" -ne 0 ] && [ "$written" -eq 0 ]; then
  echo "wine-run: wine64 ended with status $status before $(basename "$exe") wrote anything; trying once more" >&2
  run_once "$@"
fi
exit "$status"
