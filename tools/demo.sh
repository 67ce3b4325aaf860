#!/usr/bin/env bash
# Builds the sample editor and the add-in and starts the editor under Wine
# with the tag window open on the sample definition file.
#   tools/demo.sh         the shipped 32-bit build (win32 preset), under 32-bit Wine
#   tools/demo.sh --64    the 64-bit build (win64 preset), under wine64
# Where this machine cannot execute 32-bit code, the default says so loudly
# and falls back to the 64-bit build, so that the demo still shows the add-in.
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
. cmake/wine-env.sh
preset=win32
case ${1:-} in
  --64) preset=win64 ;;
  "") ;;
  *) echo "usage: tools/demo.sh [--64]" >&2; exit 2 ;;
esac
bash tools/install-deps.sh
if [ $preset = win32 ]; then
  wine32=$(vx_wine32_status)
  if [ "$wine32" != runs ]; then
    echo "!!!!! demo: the 32-bit build cannot run here ($wine32); showing the 64-bit build instead. !!!!!" >&2
    preset=win64
  fi
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset
cmake --build --preset $preset --target wine_prefix_template

bin=$root/build/$preset/bin
demo=$root/build/demo
mkdir -p "$demo"
run=$(mktemp -d "$demo/run.XXXXXX")
vx_xvfb_pid= host_pid=
cleanup() {
  if [ -n "$host_pid" ]; then kill "$host_pid" 2>/dev/null || true; fi
  # The prefix goes only once its server has gone.
  vx_stop_prefix "$run/prefix" >/dev/null 2>&1 || true
  if [ -n "$vx_xvfb_pid" ]; then kill "$vx_xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
die() { echo "demo: $*" >&2; exit 1; }

# A private prefix made from the build's template.
mkdir "$run/prefix"
vx_copy_prefix "$root/build/$preset/wine/template" "$run/prefix"
export WINEPREFIX=$run/prefix
vx_wine_environment
wine=$(vx_wine_loader "$bin/vxhost.exe")
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting the sample editor on $DISPLAY (F8 or Ctrl+T toggles the tag window)."
  status=0
  "$wine" "$bin/vxhost.exe" --tag-window || status=$?
  exit $status
fi

vx_start_xvfb "$run" || die "Xvfb did not start"

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
echo "Build:      $preset"
echo "Document:   $demo/document.html"
echo "Screenshot: $demo/screenshot.png"
