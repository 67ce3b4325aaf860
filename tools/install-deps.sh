#!/usr/bin/env bash
# Installs what the build, the tests, the demo and the package need on a
# Debian machine, as root. Installs only what is missing, so a second run
# costs a second.
set -eu
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
apt_updated=no
# Made only when needed; removed however the script ends.
scratch=
trap '[ -z "$scratch" ] || rm -rf "$scratch"' EXIT

# install PACKAGE...: installs those not installed yet.
install() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  if [ $apt_updated = no ]; then
    $SUDO apt-get update -qq
    apt_updated=yes
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# make: CMake's generator, only recommended by the cmake package.
# zip: tools/package.sh. fonts-wine: the glyphs of Wine's caption buttons.
install cmake make g++ clang googletest libgtest-dev \
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 \
  xvfb xauth imagemagick fonts-ipafont-gothic fonts-wine locales python3 zip

# 32-bit Wine runs the shipped i686 modules. wine64 and wine32:i386 go in one
# transaction: alone, wine32:i386 removes wine64 (their Multi-Arch: same
# dependencies must have one version on both architectures).
install_wine() {
  local wanted=(wine wine64 wine32:i386) missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${wanted[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    apt_updated=no
  fi
  if [ $apt_updated = no ]; then
    # A mirror whose i386 index lags makes the update exit 100 although the
    # other lists arrived: a warning here; only the install decides.
    $SUDO apt-get update -qq || echo "install-deps: apt-get update reported errors; going on with the lists it has" >&2
    apt_updated=yes
  fi
  scratch=$(mktemp -d)
  local log=$scratch/apt.log only=$scratch/sources
  if DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${wanted[@]}" >"$log" 2>&1; then
    return 0
  fi
  # The resolver refuses when one suite's i386 candidates lag its amd64 ones
  # (seen with the security suite): resolve against the other suites alone.
  mkdir "$only"
  awk -v RS= -v ORS='\n\n' '!/security/' /etc/apt/sources.list.d/*.sources >"$only/main.sources" 2>/dev/null || true
  [ -f /etc/apt/sources.list ] && grep -v security /etc/apt/sources.list >"$only/main.list" || true
  if DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
      -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$only" "${wanted[@]}" >>"$log" 2>&1; then
    return 0
  fi
  echo "install-deps: 32-bit Wine could not be installed; the 32-bit Wine stage will report itself as not run. apt said:" >&2
  grep -E '^(E:|W:| )' "$log" | tail -n 20 >&2
  # 64-bit Wine alone keeps the win64 stage running.
  install wine wine64
}
install_wine
. "$(dirname "$0")/../cmake/wine-env.sh"

# Where the kernel cannot execute 32-bit code (a virtual machine without the
# IA-32 compatibility mode), 32-bit Wine still runs on an emulated CPU:
# qemu-user, started by binfmt_misc for every i386 program. It has to be qemu
# 8 or later: older ones ignore MAP_FIXED_NOREPLACE, Wine's reservation of the
# address space then falls back to some 45,000 mmap/munmap pairs, and every
# program takes 50 s to start instead of a second. Debian 12 has 7.2, its
# backports suite a current one, taken from there alone (a private source
# list: nothing else on the machine is moved to backports).
qemu_new_enough() {
  local major
  major=$(qemu-i386 --version 2>/dev/null | sed -n '1s/^qemu-i386 version \([0-9]*\).*/\1/p')
  [ -n "$major" ] && [ "$major" -ge 8 ]
}
enable_wine32_emulation() {
  local backports codename
  [ "$(vx_wine32_status)" = "$VX_WINE32_NO_EXEC" ] || return 0
  if ! qemu_new_enough; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    backports=$(mktemp -d)
    mkdir -p "$backports/sources" "$backports/lists/partial"
    # The system's own mirror for the release, with the backports suite.
    awk -v RS= -v ORS='\n\n' -v suite="$codename" '$0 ~ "Suites: " suite "( |\n|$)"' \
        /etc/apt/sources.list.d/*.sources 2>/dev/null |
      sed "s/^Suites:.*/Suites: $codename-backports/" >"$backports/sources/backports.sources"
    local apt_private=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$backports/sources"
                       -o Dir::State::Lists="$backports/lists")
    echo "Installing: qemu-user from $codename-backports (32-bit code runs here only on an emulated CPU)"
    $SUDO apt-get update -qq "${apt_private[@]}" >/dev/null 2>&1 || true
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${apt_private[@]}" \
        -t "$codename-backports" qemu-user >"$backports/apt.log" 2>&1 ||
      grep -E '^(E:|W:)' "$backports/apt.log" >&2 || true
    rm -rf "$backports"
    if ! qemu_new_enough; then
      echo "install-deps: no qemu-user 8 or later could be installed; 32-bit code cannot run here" >&2
      return 0
    fi
  fi
  local misc=/proc/sys/fs/binfmt_misc conf=/usr/share/qemu/binfmt.d/qemu-i386.conf
  mountpoint -q "$misc" || $SUDO mount -t binfmt_misc binfmt_misc "$misc" ||
    { echo "install-deps: binfmt_misc cannot be mounted; 32-bit code cannot run here" >&2; return 0; }
  if [ ! -e "$misc/qemu-i386" ]; then
    # F: the kernel opens the emulator now, so it is found in any mount namespace.
    sed 's/:[A-Z]*$/:OPF/' "$conf" | $SUDO tee "$misc/register" >/dev/null ||
      { echo "install-deps: the i386 emulator could not be registered with binfmt_misc" >&2; return 0; }
  fi
  echo "install-deps: 32-bit programs run on qemu-user's emulated CPU ($(qemu-i386 --version | head -n 1))"
}
enable_wine32_emulation

# The fuzzer's runtime must be the one of the clang that is installed, whatever
# its version.
clang_major=$(clang -dumpversion | cut -d. -f1)
install "libclang-rt-${clang_major}-dev"

# Wine reads Japanese arguments and paths only with a compiled glibc locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  # localedef exits 1 on mere warnings; whether the locale exists is what counts.
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || true
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    echo "install-deps: could not compile the ja_JP.UTF-8 locale" >&2
    exit 1
  fi
fi
