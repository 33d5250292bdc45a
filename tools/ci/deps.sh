#!/usr/bin/env bash
# Installs every build and test dependency from Debian's registry. Idempotent:
# does nothing when all packages are already present.
set -euo pipefail
pkgs=(
  cmake ninja-build make g++ pkg-config
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev zlib1g-dev libssl-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  wine wine64 wine32:i386 xvfb xauth imagemagick x11-utils
  python3 python3-pytest python3-pefile mscompress fonts-dejavu-core
  tinyproxy curl openssl msitools wixl
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  need_update=1
fi
missing=()
for p in "${pkgs[@]}"; do
  st=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$st" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all present"
  exit 0
fi
echo "deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
