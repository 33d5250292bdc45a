#!/usr/bin/env bash
# Builds the demo medium from examples/sample-product and starts it under Wine:
# on your display when DISPLAY is set, otherwise on a private Xvfb with
# screenshots in build/screens/demo-*.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
media=$root/build/host/tools/media/ostravel-media
win=$root/build/win32
out=$root/build/demo
medium=$out/medium
prefix=$out/prefix
rm -rf "$medium"
mkdir -p "$medium" "$root/build/screens"

echo "demo: building the medium in $medium"
iconv -f utf-8 -t cp1250 examples/sample-product/setup.inf.utf8 > "$medium/setup.inf"
"$media" pack "$medium/data1.dat" examples/sample-product/files --prefix 'C:\Belloro\'
"$media" szdd "$win/installer/installer.exe" "$medium/_setup1.ex_"
cp "$win/startup/startup.exe" "$medium/startup.exe"
"$media" list "$medium/data1.dat"

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:77
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ ! -f "$prefix/system.reg" ]; then
  echo "demo: creating the Wine prefix (once, about half a minute)"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi

echo "demo: starting startup.exe from the medium"
wine "Z:${medium//\//\\}\\startup.exe" &
if [ -z "$xvfb_pid" ]; then
  echo "demo: the wizard opens on $DISPLAY; close it to end the demo"
  wait
  exit 0
fi
# Unattended: wait for the wizard, take its picture, then end.
for _ in $(seq 1 60); do
  sleep 1
  if xwininfo -root -tree 2>/dev/null | grep -q "Lumbra Demo 2026 - Ostravel"; then
    sleep 2
    import -window root "$root/build/screens/demo-welcome.png"
    echo "demo: the wizard is up; picture in build/screens/demo-welcome.png"
    exit 0
  fi
done
import -window root "$root/build/screens/demo-timeout.png"
echo "demo: the wizard did not appear within a minute (see build/screens/demo-timeout.png)" >&2
exit 1
