#!/usr/bin/env bash
# Archive extraction throughput, side by side on one generated tree (~512 MiB,
# thousands of files, text-like and noise): our extraction against zlib alone on the
# same blocks (the format's limit), tar -xzf and cp -r. Each baseline is measured
# alternately with the extraction (A B A B ..., RUNS pairs, default 5, warm page
# cache), so load from elsewhere on the machine falls on both alike; the ratios are
# medians of the per-pair ratios. "inflate+write" is zlib alone with plain write()
# calls into files: the same page-cache writes any extraction pays. Everything
# lives under build/bench/ and is removed at the end. Then the download benchmark
# (tests/bench/bench_download.py).
set -euo pipefail
cd "$(dirname "$0")/../.."
mib=${BENCH_MIB:-512}
runs=${RUNS:-5}
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

# measure NAME CMD...: one run with the output folder emptied first; sets the
# global wall (s) and rss (KiB).
measure() {
  shift
  rm -rf "$work/out"; mkdir -p "$work/out"; sync
  local t0 t1 line
  t0=$(date +%s.%N)
  line=$( { /usr/bin/time -f "TIME %M" "$@" >/dev/null; } 2>&1 | grep '^TIME' )
  t1=$(date +%s.%N)
  wall=$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')
  rss=${line#TIME }
}

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

run_extract() { measure extract "$bench" extract "$work/data1.dat" "$work/out"; }
run_inflate() { measure inflate "$bench" inflate "$work/data1.dat"; }
run_inflate_write() { measure inflate+write "$bench" inflate-write "$work/data1.dat" "$work/out"; }
run_tar() { measure tar-xzf tar -xzf "$work/src.tar.gz" -C "$work/out"; }
run_cp() { measure cp-r cp -r "$work/src" "$work/out/"; }

# pair BASELINE: RUNS rounds of extraction then the baseline; prints the medians of
# both wall times and of baseline / extraction (above 1: extraction is faster).
extract_rss=0
pair() {
  local name=$1 fn=$2 a b ratios="" as="" bs=""
  for ((i = 0; i < runs; i++)); do
    run_extract; a=$wall; (( rss > extract_rss )) && extract_rss=$rss
    "$fn"; b=$wall
    as+="$a"$'\n'; bs+="$b"$'\n'
    ratios+=$(awk -v a="$a" -v b="$b" 'BEGIN {print (a < 0.001 ? 0 : b / a)}')$'\n'
  done
  local ma mb mr
  ma=$(printf '%s' "$as" | median); mb=$(printf '%s' "$bs" | median); mr=$(printf '%s' "$ratios" | median)
  printf '%-14s %10.3f %12.3f %9.1f %14.3f\n' "$name" "$mb" "$ma" "$(awk -v n="$bytes" -v s="$mb" 'BEGIN {print n / (s < 0.001 ? 0.001 : s) / 1e6}')" "$mr"
  ratio[$name]=$mr
}

declare -A ratio
printf '\n%-14s %10s %12s %9s %14s\n' baseline "wall-s" "extract-s" "MB/s" "base/extract"
pair inflate run_inflate
pair inflate+write run_inflate_write
run_extract
cmp -s "$work/src/big-noise.bin" "$work/out/big-noise.bin" || { echo "bench: extracted data differ"; exit 1; }
pair tar-xzf run_tar
pair cp-r run_cp
echo
printf 'extract vs raw inflate in memory (median of pairs): %.3f (target >= 0.9)\n' "${ratio[inflate]}"
printf 'extract vs raw inflate written to plain files (median of pairs): %.3f\n' "${ratio[inflate+write]}"
printf 'extract peak RSS %.1f MiB (target < 32)\n' "$(awk -v k="$extract_rss" 'BEGIN {print k / 1024}')"

# The HTTP client under Wine against curl, from one loopback server.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${JOBS:-2}" --target http_probe >/dev/null
mkdir -p "$work/net"
python3 tests/bench/bench_download.py "$work/net" build/win32/tests/fixtures/http_probe.exe \
  "${BENCH_NET_MIB:-256}" "${NET_RUNS:-5}"
