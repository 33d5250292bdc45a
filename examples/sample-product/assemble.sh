#!/usr/bin/env bash
# Puts the demo product together in PRODUCT_DIR: the files of this folder, the
# programs the win32 build made of src/, and the font DejaVu Sans Mono from
# Debian's fonts-dejavu-core (free licence: Bitstream Vera, with public-domain
# changes), as the maker's own product folder would look.
# usage: assemble.sh PRODUCT_DIR [WIN32_BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$1
win=${2:-$here/../../build/win32}
bin=$win/examples/sample-product/src
font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
for f in "$bin/lumbra.exe" "$bin/lumbra_core.dll" "$bin/orvel.exe" "$font"; do
  [ -f "$f" ] || { echo "assemble: missing $f (build the win32 preset; make deps)" >&2; exit 2; }
done
rm -rf "$out"
mkdir -p "$out/Fonts"
cp -r "$here/files/." "$out/"
cp "$bin/lumbra.exe" "$bin/lumbra_core.dll" "$out/Lumbra/"
cp "$bin/orvel.exe" "$out/Orvel/"
cp "$font" "$out/Fonts/"
