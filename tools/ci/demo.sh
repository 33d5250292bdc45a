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
product=$out/product
mkdir -p "$out" "$root/build/screens"

echo "demo: building the medium in $medium"
bash examples/sample-product/assemble.sh "$product" "$win"
iconv -f utf-8 -t cp1250 examples/sample-product/setup.tmpl.utf8 > "$out/setup.tmpl"
"$media" medium "$product" "$out/setup.tmpl" "$medium" \
  --launcher "$win/startup/startup.exe" --installer "$win/installer/installer.exe"
"$media" lint "$medium/setup.inf" --medium "$medium"
echo "demo: the medium lints clean"
for archive in "$medium"/*.dat; do "$media" list "$archive"; done

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

echo "demo: starting setup.exe from the medium"
wine "Z:${medium//\//\\}\\setup.exe" &
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
