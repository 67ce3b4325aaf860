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
work=$(mktemp -d "$bin/../wine/run.XXXXXX") || fail "cannot make a prefix beside $template"
cp -al "$template/." "$work/" && cp --remove-destination "$template"/*.reg "$work/" ||
  fail "cannot copy the template prefix"
export WINEPREFIX=$work WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

xvfb_pid=
if [ "${VX_WINE_SHARED_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  # -displayfd lets the server pick a free display number without races.
  exec 3> "$work/.display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 400); do [ -s "$work/.display" ] && break; sleep 0.05; done
  [ -s "$work/.display" ] || { kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"; fail "Xvfb did not start"; }
  export DISPLAY=:$(head -n 1 "$work/.display")
fi

/usr/lib/wine/wine64 "$exe" "$@"
status=$?
# Stop the private servers and drop the prefix without holding up the caller.
( /usr/lib/wine/wineserver -k; [ -n "$xvfb_pid" ] && kill "$xvfb_pid"; rm -rf "$work" ) \
  >/dev/null 2>&1 </dev/null &
exit $status
