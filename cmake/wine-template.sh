#!/usr/bin/env bash
# Makes the template Wine prefix that every test copies: initialised once,
# Japanese code page, no window manager delays, no crash dialog.
set -eu
template=$1
rm -rf "$template"
mkdir -p "$template"
export WINEPREFIX=$template WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
wine=/usr/lib/wine/wine64
run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a "$@"; fi; }
run "$wine" wineboot -i >/dev/null 2>&1 || true
# Without a window manager some dialogs take seconds to close unless unmanaged.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
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
touch "$template/.ready"
