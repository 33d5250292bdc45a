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
  wine wine64 xvfb xauth imagemagick x11-utils
  python3 python3-pytest python3-pytest-timeout python3-pytest-xdist python3-pefile mscompress fonts-dejavu-core
  tinyproxy curl openssl msitools wixl
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=""

# A mirror in the middle of a sync fails the update of one index now and then: try
# again, and go on with what the lists hold; the install says what is missing.
refresh_lists() {
  local n
  for n in 1 2 3; do
    $sudo apt-get update -qq && return 0
    sleep $((n * 10))
  done
  echo "deps: some package lists could not be refreshed; going on with those there are"
}

# Whether the kernel starts a 32-bit x86 program: a 93-byte one that only exits.
runs_32bit() {
  local probe
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return $rc
}

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
    refresh_lists
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Only the i686 build's Wine tests need the 32-bit half of Wine, and only where the
# host starts 32-bit programs; without it the x86_64 build runs (tests/e2e/winehost.py).
host32=""
if runs_32bit; then
  host32=1
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi
install "${pkgs[@]}"
if [ -n "$host32" ]; then
  install wine32:i386 || echo "deps: wine32:i386 not installed; the Wine tests will run the x86_64 build"
else
  echo "deps: the host runs 64-bit programs only; the Wine tests will run the x86_64 build"
fi
# The sanitizer and libFuzzer runtime of the clang that is installed, whichever
# release of clang that is.
clang_major=$(clang -dumpversion | cut -d. -f1)
install "libclang-rt-${clang_major}-dev"
[ -n "$updated" ] || echo "deps: all present"
