# The one Wine set-up, sourced by wine-template.sh, wine-run.sh and
# tools/demo.sh: the environment every Wine program gets, the loader for a
# program's architecture, prefix copies, a private Xvfb and whether this
# machine executes 32-bit code. Functions only; nothing runs on sourcing.

VX_WINE_DIR=/usr/lib/wine
VX_WINESERVER=$VX_WINE_DIR/wineserver

# vx_wine_environment [LOCALE]: Japanese code page unless told otherwise
# (VX_WINE_LC_ALL lets a test run under another system code page), no debug
# noise, no Mono or Gecko installers, and no crash dialog: a crashing program
# exits at once instead of waiting for a click. Nor the menu builder, which
# each new prefix starts to scan for file associations: a third of a short
# run's processor time (0.7 s of 2.3 s measured), for menus no run uses.
vx_wine_environment() {
  export LC_ALL=${1:-${VX_WINE_LC_ALL:-ja_JP.UTF-8}}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
}

# vx_pe_kind FILE: prints PE32 or PE32+ from the optional header's magic.
vx_pe_kind() {
  local offset magic
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || { echo unknown; return; }
  magic=$(od -An -tx2 -j$((offset + 24)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case $magic in 010b) echo PE32 ;; 020b) echo PE32+ ;; *) echo unknown ;; esac
}

# vx_wine_loader FILE: the loader for the program's architecture.
vx_wine_loader() {
  if [ "$(vx_pe_kind "$1")" = PE32 ]; then echo "$VX_WINE_DIR/wine"; else echo "$VX_WINE_DIR/wine64"; fi
}

# vx_wine32_status: "runs", or why 32-bit Windows programs cannot run here.
# The kernel's refusal is named once: install-deps answers it with an emulator.
VX_WINE32_NO_EXEC='this kernel cannot execute 32-bit code (the i386 Wine loader gives "Exec format error")'
# The kernel's answer shows in whether the 32-bit loader itself starts; its
# output goes to a file, never to a pipe that a Wine process could hold open.
vx_wine32_status() {
  local out status
  if [ ! -x "$VX_WINE_DIR/wine" ]; then
    echo "32-bit Wine (wine32:i386) is not installed"
    return
  fi
  out=$(mktemp)
  # In the C locale, so that the shell's own message is the one matched.
  ( export LC_ALL=C; "$VX_WINE_DIR/wine" --version ) >"$out" 2>&1 </dev/null
  status=$?
  if [ $status -eq 0 ]; then
    echo runs
  elif grep -q "Exec format error" "$out"; then
    echo "$VX_WINE32_NO_EXEC"
  else
    echo "the 32-bit Wine loader fails (status $status: $(head -c 200 "$out" | tr '\n' ' '))"
  fi
  rm -f "$out"
}

# vx_wine32_cpu: how 32-bit code runs here: "native", or on qemu-user's
# emulated CPU where the kernel cannot execute it (tools/install-deps.sh
# registers the emulator with binfmt_misc then). Emulated timings are not
# native ones, and the messages say so.
vx_wine32_cpu() {
  if grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null; then
    echo "emulated (qemu-user)"
  else
    echo native
  fi
}

# vx_prefix_has_wow64 PREFIX: whether the prefix has its 32-bit half. A
# prefix made while 32-bit Wine could not start has an empty syswow64, and
# every 32-bit program fails in it with "could not load kernel32.dll".
vx_prefix_has_wow64() {
  [ -f "$1/drive_c/windows/syswow64/kernel32.dll" ]
}

# vx_copy_prefix TEMPLATE DEST: a private prefix in about 30 ms. Hard links for
# the read-only bulk; the registry files, which Wine rewrites, as real copies.
vx_copy_prefix() {
  cp -al "$1/." "$2/" && cp --remove-destination "$1"/*.reg "$2/"
}

# vx_stop_prefix PREFIX: ends the prefix's Wine processes and waits for its server.
vx_stop_prefix() {
  WINEPREFIX=$1 "$VX_WINESERVER" -k; WINEPREFIX=$1 "$VX_WINESERVER" -w
}

# vx_start_xvfb FOLDER: a private Xvfb on a display it picks itself, with no
# race for the number; sets DISPLAY and vx_xvfb_pid, or returns 1 with the
# server's last words on stderr.
vx_start_xvfb() {
  local folder=$1
  : >"$folder/.display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/.display" >"$folder/.xvfb.log" 2>&1 &
  vx_xvfb_pid=$!
  for _ in $(seq 400); do
    [ -s "$folder/.display" ] && break
    kill -0 "$vx_xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$folder/.display" ]; then
    tail -n 3 "$folder/.xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$(tr -dc 0-9 <"$folder/.display")
}
