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
