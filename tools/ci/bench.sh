#!/usr/bin/env bash
# Archive extraction throughput, side by side on one generated tree (~512 MiB,
# thousands of files, text-like and noise): our extraction, zlib alone on the same
# blocks (the format's limit), tar -xzf and cp -r. Best of RUNS (default 3), warm
# page cache. "inflate+write" is zlib alone with plain write() calls into files: the
# same page-cache writes any extraction pays. Everything lives under build/bench/ and
# is removed at the end. Then the download benchmark (tests/bench/bench_download.py)
# and the installation engine. BENCH=archive, BENCH=download or BENCH=install runs
# one part only.
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
what=${BENCH:-all}
if [ "$what" = all ] || [ "$what" = archive ]; then
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
rm -rf "$work"
fi

if [ "$what" = all ] || [ "$what" = download ]; then
# The HTTP client under Wine against curl, from one loopback server.
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${JOBS:-2}" --target http_probe >/dev/null
mkdir -p "$work/net"
python3 tests/bench/bench_download.py "$work/net" build/win32/tests/fixtures/http_probe.exe \
  "${BENCH_NET_MIB:-256}" "${NET_RUNS:-5}"
fi
[ "$what" = all ] || [ "$what" = install ] || exit 0

# ---- The installation engine ----------------------------------------------------
# 10,000 files (~200 MiB) in 4 archives installed by the real run (file list, rules,
# extraction, attributes, shortcuts, registry, record) on the host file system with
# the fake registry and links, against `ostravel-media extract` of the same archives;
# its uninstall against `rm -rf` of the installed tree; 1,000 files (~20 MiB) for the
# time per file. Runs alternate within each round (A B A B ...); medians of RUNS
# rounds, with the page cache flushed (sync) before every timed run. The trees
# live in memory (/dev/shm, BENCH_INSTALL_DIR overrides) so that a disk shared
# with other work does not drown the engine's own cost in write-back waits.
inst=$host/tests/bench/bench_install
[ -x "$inst" ] || { echo "bench: build bench_install first"; exit 1; }
files10=${BENCH_FILES:-10000}
mib10=${BENCH_INSTALL_MIB:-200}
files1=$((files10 / 10)) mib1=$((mib10 / 10))
rm -rf "$work"
work=${BENCH_INSTALL_DIR:-$([ -d /dev/shm ] && echo /dev/shm/ostravel-bench-$$ || echo "$work")}
trap 'rm -rf "$work"' EXIT
echo "bench: install trees in $work"
mkdir -p "$work"
for set in big small; do
  n=$files10 m=$mib10
  [ $set = small ] && n=$files1 m=$mib1
  "$inst" gen "$work/$set" "$n" "$m"
  for p in 1 2 3 4; do
    "$media" pack "$work/$set/medium/pack$p.dat" "$work/$set/src/pack$p" --prefix "C:\\pack$p" >/dev/null
  done
  rm -rf "$work/$set/src"
done
echo "bench: install media $(du -sh "$work/big/medium" | cut -f1) ($files10 files), $(du -sh "$work/small/medium" | cut -f1) ($files1 files)"

declare -A samples
peak_install=0
# timed NAME CMD...: one sample of wall seconds; keeps the largest RSS of installs.
timed() {
  local name=$1; shift
  sync
  local line
  line=$( { /usr/bin/time -f "TIME %e %M" "$@" >/dev/null; } 2>&1 | grep '^TIME' ) || { echo "bench: $name failed"; exit 1; }
  read -r _ e k <<<"$line"
  samples[$name]="${samples[$name]:-} $e"
  [ "$name" = install ] && (( k > peak_install )) && peak_install=$k
  return 0
}
fresh() { rm -rf "$work/dest" "$work/out"; mkdir -p "$work/dest" "$work/out"; }
for ((r = 0; r < runs; r++)); do
  fresh; timed extract bash -c 'for p in 1 2 3 4; do "$0" extract "$1/pack$p.dat" "$2" --full-path || exit 1; done' \
    "$media" "$work/big/medium" "$work/out"
  fresh; timed install "$inst" install "$work/big/medium" "$work/dest"
  timed uninstall "$inst" uninstall "$work/big/medium" "$work/dest"
  fresh; "$inst" install "$work/big/medium" "$work/dest" >/dev/null
  timed rm-rf rm -rf "$work/dest/App"
  fresh; timed install-small "$inst" install "$work/small/medium" "$work/dest"
  timed uninstall-small "$inst" uninstall "$work/small/medium" "$work/dest"
done
rm -rf "$work/dest" "$work/out"
median() { tr ' ' '\n' <<<"${samples[$1]}" | grep . | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
printf '\n%-16s %s\n' run "wall seconds (median of $runs; samples)"
for n in extract install uninstall rm-rf install-small uninstall-small; do
  printf '%-16s %8.2f  (%s )\n' "$n" "$(median $n)" "${samples[$n]}"
done
awk -v e="$(median extract)" -v i="$(median install)" -v u="$(median uninstall)" -v rm="$(median rm-rf)" \
    -v is="$(median install-small)" -v us="$(median uninstall-small)" -v big="$files10" -v small="$files1" \
    -v k="$peak_install" 'BEGIN {
  if (e < 0.01) e = 0.01; if (rm < 0.01) rm = 0.01; if (is < 0.01) is = 0.01; if (us < 0.01) us = 0.01
  printf "\ninstall run vs bare extraction: %.2f (target <= 1.3)\n", i / e
  printf "install time per file, %d vs %d files: %.2f (target <= 1.5)\n", big, small, (i / big) / (is / small)
  printf "uninstall time per file, %d vs %d files: %.2f (target <= 1.5)\n", big, small, (u / big) / (us / small)
  printf "uninstall vs rm -rf: %.2f (target <= 3)\n", u / rm
  printf "install peak RSS %.1f MiB (target < 64)\n", k / 1024 }'
