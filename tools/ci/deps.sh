#!/usr/bin/env bash
# Installs every build and test dependency from Debian's registry. Idempotent:
# does nothing when all packages are already present. No package is pinned to
# one Debian release: the fuzzers' runtime is the one of the clang installed.
set -euo pipefail
pkgs=(
  cmake ninja-build make g++ pkg-config
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev zlib1g-dev libssl-dev
  libgtest-dev libgmock-dev
  clang clang-format
  wine wine64 wine32:i386 xvfb xauth imagemagick x11-utils
  python3 python3-pytest python3-pytest-timeout python3-pefile mscompress fonts-dejavu-core
  tinyproxy curl openssl msitools wixl
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

# install PACKAGE...: those of them not installed yet.
install() {
  local missing=() p st
  for p in "$@"; do
    st=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$st" = "install ok installed" ] || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "deps: installing ${missing[*]}"
  if [ -z "$updated" ]; then
    $sudo apt-get update -qq
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install "${pkgs[@]}"
# The sanitizer and libFuzzer runtime of the clang that is installed, whichever
# release of clang that is.
clang_major=$(clang -dumpversion | cut -d. -f1)
install "libclang-rt-${clang_major}-dev"
[ -n "$updated" ] || echo "deps: all present"
