#!/usr/bin/env bash
# Archive extraction throughput, side by side on one generated tree (~512 MiB,
# thousands of files, text-like and noise): our extraction, zlib alone on the same
# blocks (the format's limit), tar -xzf and cp -r. Best of RUNS (default 3), warm
# page cache. "inflate+write" is zlib alone with plain write() calls into files: the
# same page-cache writes any extraction pays. Everything lives under build/bench/ and
# is removed at the end. Then the download benchmark (tests/bench/bench_download.py).
set -euo pipefail
cd "$(dirname "$0")/../.."
mib=${BENCH_MIB:-512}
runs=${RUNS:-3}
host=build/host
work=build/bench
bench=$host/tests/bench/bench_archive
media=$host/tools/media/ostravel-media
[ -x "$bench" ] && [ -x "$media" ] || { echo "bench: build the host preset first"; exit 1; }

rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
echo "bench: generating ${mib} MiB"
"$bench" gen "$work/src" "$mib"
bytes=$(find "$work/src" -type f -printf '%s\n' | awk '{t += $1} END {printf "%d", t}')
start=$(date +%s.%N)
"$media" pack "$work/data1.dat" "$work/src"
pack_s=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {print b - a}')
tar -czf "$work/src.tar.gz" -C "$work" src
printf 'bench: archive %s bytes (pack %.1f s), tar.gz %s bytes, tree %s bytes\n' \
  "$(stat -c %s "$work/data1.dat")" "$pack_s" "$(stat -c %s "$work/src.tar.gz")" "$bytes"

# best_of NAME CMD...: runs CMD RUNS times with its output folder emptied first and
# keeps the run with the shortest wall time: wall, user and system seconds; and the
# largest peak RSS (KiB) seen.
declare -A secs user sys rss
best_of() {
  local name=$1; shift
  local best="" peak=0
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/out"; mkdir -p "$work/out"; sync
    local line
    line=$( { /usr/bin/time -f "TIME %e %U %S %M" "$@" >/dev/null; } 2>&1 | grep '^TIME' )
    read -r _ e u s k <<<"$line"
    if [ -z "$best" ] || awk -v a="$e" -v b="$best" 'BEGIN {exit !(a < b)}'; then
      best=$e; user[$name]=$u; sys[$name]=$s
    fi
    (( k > peak )) && peak=$k
  done
  secs[$name]=$best; rss[$name]=$peak
}

best_of inflate "$bench" inflate "$work/data1.dat"
best_of inflate+write "$bench" inflate-write "$work/data1.dat" "$work/out"
best_of extract "$bench" extract "$work/data1.dat" "$work/out"
cmp -s "$work/src/big-noise.bin" "$work/out/big-noise.bin" || { echo "bench: extracted data differ"; exit 1; }
best_of "tar-xzf" tar -xzf "$work/src.tar.gz" -C "$work/out"
best_of "cp-r" cp -r "$work/src" "$work/out/"

printf '\n%-14s %8s %9s %11s %7s %7s %10s\n' mode wall-s MB/s "vs inflate" user-s sys-s "peak RSS"
for m in inflate inflate+write extract tar-xzf cp-r; do
  # /usr/bin/time has 10 ms resolution; keep divisions finite.
  awk -v s="${secs[$m]}" -v base="${secs[inflate]}" -v n="$bytes" -v k="${rss[$m]}" -v m="$m" \
      -v u="${user[$m]}" -v y="${sys[$m]}" 'BEGIN {
    if (s < 0.01) s = 0.01
    printf "%-14s %8.2f %9.1f %10.2fx %7.2f %7.2f %6.1f MiB\n", m, s, n / s / 1e6, base / s, u, y, k / 1024 }'
done
echo
awk -v i="${secs[inflate]}" -v w="${secs[inflate+write]}" -v e="${secs[extract]}" -v k="${rss[extract]}" \
    -v iu="${user[inflate]}" -v eu="${user[extract]}" 'BEGIN {
  printf "extract vs raw inflate in memory (wall): %.3f (target >= 0.9)\n", i / e
  printf "extract vs raw inflate written to plain files (wall): %.3f\n", w / e
  printf "extract vs raw inflate, user CPU: %.3f\n", (eu > 0 ? iu / eu : 0)
  printf "extract peak RSS %.1f MiB (target < 32)\n", k / 1024 }'

# The HTTP client under Wine against curl, from one loopback server.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${JOBS:-2}" --target http_probe >/dev/null
mkdir -p "$work/net"
python3 tests/bench/bench_download.py "$work/net" build/win32/tests/fixtures/http_probe.exe \
  "${BENCH_NET_MIB:-256}" "${NET_RUNS:-5}"
