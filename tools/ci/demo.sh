#!/usr/bin/env bash
# Builds the demo medium from examples/sample-product, lints it, and runs it under
# Wine (tools/ci/demo.py): unattended install and removal with a report of each,
# then a walk through the wizard with pictures in build/screens/demo-*.png.
# DEMO_INTERACTIVE=1 with a DISPLAY opens the wizard on your display instead.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
media=$root/build/host/tools/media/ostravel-media
# The Windows build this host can run under Wine (tests/e2e/winehost.py).
preset=$(/usr/bin/python3 -c 'import sys; sys.path.insert(0, "tests/e2e"); import winehost; print(winehost.host().build.name)')
echo "demo: building the $preset preset, the one this host runs"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "${JOBS:-2}"
win=$root/build/$preset
out=$root/build/demo
medium=$out/medium
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

# The Wine half: unattended install, report, unattended removal, then the walk.
exec /usr/bin/python3 tools/ci/demo.py
