#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, as root.
# Installs only what is missing, so a second run costs a second.
set -eu
packages=(cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64 xvfb xauth imagemagick fonts-ipafont-gothic locales python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# Wine reads Japanese arguments and paths only with a compiled glibc locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  # localedef exits 1 on mere warnings; whether the locale exists is what counts.
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || true
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
    echo "install-deps: could not compile the ja_JP.UTF-8 locale" >&2
    exit 1
  fi
fi
