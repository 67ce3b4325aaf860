#!/usr/bin/env bash
# Makes the template Wine prefix that every run copies: initialised once,
# Japanese code page, no window manager delays, no crash dialog. Run at every
# build; a template that is current is kept, and one made by an older script
# or before 32-bit Wine could run (no 32-bit half, so 32-bit programs fail
# in it) is made again.
set -eu
template=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

current() {
  [ -f "$template/.ready" ] || return 1
  [ "$template/.ready" -nt "$here/wine-template.sh" ] && [ "$template/.ready" -nt "$here/wine-env.sh" ] || return 1
  [ "$(vx_wine32_status)" != runs ] || vx_prefix_has_wow64 "$template"
}
current && exit 0

rm -rf "$template"
mkdir -p "$template"
export WINEPREFIX=$template
# The template always gets the Japanese code page; a run may choose another.
vx_wine_environment ja_JP.UTF-8
wine=$VX_WINE_DIR/wine64
run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a "$@"; fi; }
run "$wine" wineboot -i >/dev/null 2>&1 || true
# Without a window manager some dialogs take seconds to close unless unmanaged.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
"$VX_WINESERVER" -w
# Caption buttons are glyphs of Marlett, which this Wine does not take from
# its own font folder (fonts-wine): without a copy they read "0 1 r".
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ]; then
  mkdir -p "$template/drive_c/windows/Fonts"
  cp "$marlett" "$template/drive_c/windows/Fonts/"
fi
# wineboot's own status says little; the registry files the server leaves
# behind say whether the prefix exists, and a template without them must not
# be marked ready.
for hive in system.reg user.reg; do
  [ -s "$template/$hive" ] || { echo "wine-template: no $hive was made in $template" >&2; exit 1; }
done
if [ "$(vx_wine32_status)" = runs ] && ! vx_prefix_has_wow64 "$template"; then
  echo "wine-template: 32-bit Wine runs but $template has no 32-bit half (syswow64)" >&2
  exit 1
fi
touch "$template/.ready"
