#!/usr/bin/env bash
# Builds the win64 preset and starts the sample editor under wine64 with the
# tag window open on the sample definition file.
#   With a display: the windows stay up until you quit the editor.
#   Without one: a private Xvfb, a scripted run that inserts tags by keyboard
#   and saves the document, and a screenshot of the editor and the tag window
#   (build/demo/screenshot.png; the README's docs/demo.png is a copy). Any dialog
#   that comes up ends the scripted run with an error, and so does a step
#   that takes too long.
# Several demos may run at once: each has its own prefix and files under
# build/demo/run.*, removed when it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64

bin=$root/build/win64/bin
demo=$root/build/demo
mkdir -p "$demo"
run=$(mktemp -d "$demo/run.XXXXXX")
xvfb_pid= host_pid=
stop_wine() { WINEPREFIX=$run/prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; }
cleanup() {
  if [ -n "$host_pid" ]; then kill "$host_pid" 2>/dev/null || true; fi
  stop_wine
  # The prefix goes only once its server has gone.
  WINEPREFIX=$run/prefix /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
die() { echo "demo: $*" >&2; exit 1; }

# A private prefix made from the build's template.
mkdir "$run/prefix"
cp -al "$root/build/win64/wine/template/." "$run/prefix/"
cp --remove-destination "$root/build/win64/wine/template/"*.reg "$run/prefix/"
export WINEPREFIX=$run/prefix WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
wine=/usr/lib/wine/wine64
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the sample editor on $DISPLAY (F8 or Ctrl+T toggles the tag window)."
  status=0
  "$wine" "$bin/vxhost.exe" --tag-window || status=$?
  exit $status
fi

# Xvfb picks a free display itself and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run/display" >"$run/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$run/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$run/display" ] || die "Xvfb did not start: $(tail -n 3 "$run/xvfb.log" | tr '\n' ' ')"
export DISPLAY=:$(tr -dc 0-9 <"$run/display")

"$wine" "$bin/vxhost.exe" --demo "$(winpath "$run/document.html")" "$(winpath "$run")" \
  >"$run/vxhost.log" 2>&1 &
host_pid=$!
# The editor says when its windows show the finished document.
for _ in $(seq 1200); do
  [ -e "$run/vxhost-ready" ] && break
  kill -0 "$host_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -e "$run/vxhost-messagebox" ]; then
  die "a dialog stopped the scripted run: $(iconv -f CP932 -t UTF-8 "$run/vxhost-messagebox" 2>/dev/null || cat "$run/vxhost-messagebox")"
fi
if [ ! -e "$run/vxhost-ready" ]; then
  cat "$run/vxhost.log" >&2
  kill -0 "$host_pid" 2>/dev/null && die "the editor did not finish its script within two minutes"
  die "the editor ended before its script was done"
fi

# Only the editor and the tag window, not the empty screen around them.
read -r left top right bottom <"$run/vxhost-ready"
[ "$left" -ge 0 ] || left=0
[ "$top" -ge 0 ] || top=0
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$run/screenshot.png"
touch "$run/vxhost-done"
status=0
for _ in $(seq 600); do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$host_pid" 2>/dev/null; then
  cat "$run/vxhost.log" >&2
  die "the editor did not close within a minute of the screenshot"
fi
wait "$host_pid" || status=$?
host_pid=
cat "$run/vxhost.log"
[ -e "$run/vxhost-messagebox" ] && die "a dialog stopped the scripted run: $(cat "$run/vxhost-messagebox")"
[ $status -eq 0 ] || die "the editor's script failed (status $status)"
[ -e "$run/document.html" ] || die "the document was not saved"

mv -f "$run/document.html" "$demo/document.html"
mv -f "$run/screenshot.png" "$demo/screenshot.png"
echo "Document:   $demo/document.html"
echo "Screenshot: $demo/screenshot.png"
