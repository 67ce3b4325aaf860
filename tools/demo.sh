#!/usr/bin/env bash
# Builds the sample editor and the add-in and starts the editor under Wine
# with the tag window open on the sample definition file.
#   tools/demo.sh         the shipped 32-bit build (win32 preset), under 32-bit Wine
#   tools/demo.sh --64    the 64-bit build (win64 preset), under wine64
#   tools/demo.sh --palette [--64]
#                         the tag palette vxpalette.exe beside Wine's own notepad:
#                         with a display, use it (Ctrl+Alt+H in notepad calls it);
#                         without one, a screenshot of both once the tag window
#                         is up (build/demo/palette.png)
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
palette=
for argument in "$@"; do
  case $argument in
    --64) preset=win64 ;;
    --palette) palette=1 ;;
    *) echo "usage: tools/demo.sh [--palette] [--64]" >&2; exit 2 ;;
  esac
done
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

# The palette: notepad first, so that it is the window the palette inserts into.
if [ -n "$palette" ]; then
  [ -n "${DISPLAY:-}" ] || { vx_start_xvfb "$run" || die "Xvfb did not start"; }
  "$wine" notepad.exe >"$run/notepad.log" 2>&1 &
  host_pid=$!
  shown() { xwininfo -root -tree 2>/dev/null | grep -q "$1"; }
  for _ in $(seq 600); do shown "Notepad\\|メモ帳" && break; sleep 0.1; done
  shown "Notepad\\|メモ帳" || die "notepad did not come up"
  echo "Starting the tag palette on ${DISPLAY} (in notepad, Ctrl+Alt+H calls it; Enter inserts)."
  if [ -z "${vx_xvfb_pid:-}" ]; then
    "$wine" "$bin/vxpalette.exe" || true
    exit 0
  fi
  "$wine" "$bin/vxpalette.exe" >"$run/vxpalette.log" 2>&1 &
  for _ in $(seq 600); do shown "VX HTML" && break; sleep 0.1; done
  shown "VX HTML" || die "the tag palette did not open its tag window"
  # The tree is filled after the window shows: wait until it is drawn.
  tag=$(xwininfo -root -tree | grep "VX HTML" | head -n 1 | awk '{print $1}')
  for _ in $(seq 100); do
    import -window "$tag" "$run/tag.png" 2>/dev/null || true
    [ "$(identify -format %k "$run/tag.png" 2>/dev/null || echo 0)" -gt 8 ] && break
    sleep 0.1
  done
  import -window root "$run/palette.png"
  mv -f "$run/palette.png" "$demo/palette.png"
  echo "Build:      $preset"
  echo "Screenshot: $demo/palette.png"
  exit 0
fi

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
