#!/usr/bin/env bash
# Runs one Windows program under wine64 in a private copy of the build's
# template prefix, on the suite's X display (or a private Xvfb), and passes
# the program's exit status through.
set -u
exe=$1; shift
bin=$(cd "$(dirname "$exe")" && pwd)
template=$bin/../wine/template
work=$(mktemp -d "$bin/../wine/run.XXXXXX")
cp -al "$template/." "$work/"
cp --remove-destination "$template"/*.reg "$work/"
export WINEPREFIX=$work WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
if [ -n "${DISPLAY:-}" ]; then
  /usr/lib/wine/wine64 "$exe" "$@"
else
  xvfb-run -a /usr/lib/wine/wine64 "$exe" "$@"
fi
status=$?
# Stop the private wineserver and drop the prefix without holding up the caller.
( /usr/lib/wine/wineserver -k; rm -rf "$work" ) >/dev/null 2>&1 </dev/null &
exit $status
