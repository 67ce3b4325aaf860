#!/usr/bin/env bash
# Installs what the build, the tests, the demo and the package need on a
# Debian machine, as root. Installs only what is missing, so a second run
# costs a second.
set -eu
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
apt_updated=no

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
  wine wine64 xvfb xauth imagemagick fonts-ipafont-gothic fonts-wine locales python3 zip

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
