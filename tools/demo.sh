#!/usr/bin/env bash
# Builds the win64 preset and starts the sample editor under wine64 with the
# tag window open on the sample definition file.
#   With a display: the windows stay up until you quit the editor.
#   Without one: a private Xvfb, a scripted run that inserts tags by keyboard
#   and saves the document, and a screenshot of the windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64

bin=$root/build/win64/bin
demo=$root/build/demo
mkdir -p "$demo"
# A private prefix made from the build's template, fresh for every run.
rm -rf "$demo/prefix"
mkdir -p "$demo/prefix"
cp -al "$root/build/win64/wine/template/." "$demo/prefix/"
cp --remove-destination "$root/build/win64/wine/template/"*.reg "$demo/prefix/"
export WINEPREFIX=$demo/prefix WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
wine=/usr/lib/wine/wine64
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
stop_wine() { /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; }

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the sample editor on $DISPLAY (F8 or Ctrl+T toggles the tag window)."
  status=0
  "$wine" "$bin/vxhost.exe" --tag-window || status=$?
  stop_wine
  exit $status
fi

document=$demo/document.html
screenshot=$demo/screenshot.png
rm -f "$document" "$screenshot" "$demo/vxhost-ready" "$demo/vxhost-done"

for n in $(seq 140 180); do
  [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
host_pid=
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null || true
  stop_wine
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

"$wine" "$bin/vxhost.exe" --demo "$(winpath "$document")" "$(winpath "$demo")" &
host_pid=$!
# The editor says when its windows show the finished document.
for _ in $(seq 1200); do
  [ -e "$demo/vxhost-ready" ] && break
  kill -0 "$host_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -e "$demo/vxhost-ready" ]; then
  import -window root "$screenshot"
fi
touch "$demo/vxhost-done"
status=0
wait "$host_pid" || status=$?
host_pid=

[ -e "$screenshot" ] || { echo "demo: no screenshot taken" >&2; status=1; }
[ -e "$document" ] || { echo "demo: the document was not saved" >&2; status=1; }
if [ $status -eq 0 ]; then
  echo "Document:   $document"
  echo "Screenshot: $screenshot"
fi
exit $status
