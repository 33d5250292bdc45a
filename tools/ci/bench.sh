#!/usr/bin/env bash
# Archive extraction throughput, side by side on one generated tree (~512 MiB,
# thousands of files, text-like and noise): our extraction against zlib alone on the
# same blocks (the format's limit), tar -xzf and cp -r. Each baseline is measured
# alternately with the extraction (A B A B ..., ARCHIVE_RUNS pairs, default 5, warm page
# cache), so load from elsewhere on the machine falls on both alike; the ratios are
# medians of the per-pair ratios. "inflate+write" is zlib alone with plain write()
# calls into files: the same page-cache writes any extraction pays. Everything
# lives under build/bench/ and is removed at the end.
# Then the download benchmark (tests/bench/bench_download.py), the real run under Wine
# (tests/bench/bench_wine_install.py) and the installation engine. BENCH=archive,
# BENCH=download, BENCH=wine or BENCH=install runs one part only.
set -euo pipefail
cd "$(dirname "$0")/../.."
mib=${BENCH_MIB:-512}
runs=${RUNS:-3}
pairs=${ARCHIVE_RUNS:-5}
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

median_of_lines() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

run_extract() { measure extract "$bench" extract "$work/data1.dat" "$work/out"; }
run_inflate() { measure inflate "$bench" inflate "$work/data1.dat"; }
run_inflate_write() { measure inflate+write "$bench" inflate-write "$work/data1.dat" "$work/out"; }
run_tar() { measure tar-xzf tar -xzf "$work/src.tar.gz" -C "$work/out"; }
run_cp() { measure cp-r cp -r "$work/src" "$work/out/"; }

# pair BASELINE: ARCHIVE_RUNS rounds of extraction then the baseline; prints the medians of
# both wall times and of baseline / extraction (above 1: extraction is faster).
extract_rss=0
pair() {
  local name=$1 fn=$2 a b ratios="" as="" bs=""
  for ((i = 0; i < pairs; i++)); do
    run_extract; a=$wall; (( rss > extract_rss )) && extract_rss=$rss
    "$fn"; b=$wall
    as+="$a"$'\n'; bs+="$b"$'\n'
    ratios+=$(awk -v a="$a" -v b="$b" 'BEGIN {print (a < 0.001 ? 0 : b / a)}')$'\n'
  done
  local ma mb mr
  ma=$(printf '%s' "$as" | median_of_lines); mb=$(printf '%s' "$bs" | median_of_lines); mr=$(printf '%s' "$ratios" | median_of_lines)
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
rm -rf "$work"
fi

if [ "$what" = all ] || [ "$what" = download ]; then
# The HTTP client under Wine against a plain WinHTTP loop under Wine and curl, from one
# loopback server.
preset=$(/usr/bin/python3 -c 'import sys; sys.path.insert(0, "tests/e2e"); import winehost; print(winehost.host().build.name)')
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "${JOBS:-2}" --target http_probe winhttp_loop exit_code >/dev/null
mkdir -p "$work/net"
python3 tests/bench/bench_download.py "$work/net" "build/$preset/tests/fixtures/http_probe.exe" \
  "${BENCH_NET_MIB:-256}" "${NET_RUNS:-5}"
fi

if [ "$what" = all ] || [ "$what" = wine ]; then
# The real installer under Wine on media of 1,000 and 10,000 generated files (BENCH_WINE_FILES),
# install and uninstall, with the phases of the install, alternating with a Windows Installer
# package of the same files (wixl, Wine's msiexec; BENCH_MSI=0 leaves it out) and with
# BASELINE_INSTALLER (an earlier build's installer.exe); the ratios are printed.
preset=$(/usr/bin/python3 -c 'import sys; sys.path.insert(0, "tests/e2e"); import winehost; print(winehost.host().build.name)')
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "${JOBS:-2}" >/dev/null
cmake --build --preset host -j "${JOBS:-2}" --target bench_install ostravel-media >/dev/null
# shellcheck disable=SC2086
/usr/bin/python3 tests/bench/bench_wine_install.py build/bench-wine "build/$preset" ${BASELINE_INSTALLER:-} \
  ${BENCH_WINE_FILES:-1000 10000}
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

declare -A samples cpu
peak_install=0
# timed NAME CMD...: one sample of wall seconds and of CPU seconds (user + system,
# which other work on the machine disturbs less); keeps the largest RSS of installs.
timed() {
  local name=$1; shift
  sync
  local line
  line=$( { /usr/bin/time -f "TIME %e %M %U %S" "$@" >/dev/null; } 2>&1 | grep '^TIME' ) || { echo "bench: $name failed"; exit 1; }
  read -r _ e k u y <<<"$line"
  samples[$name]="${samples[$name]:-} $e"
  cpu[$name]="${cpu[$name]:-} $(awk -v u="$u" -v y="$y" 'BEGIN {print u + y}')"
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
# RollbackOnFailure: an update over an existing installation of the 10,000 files, with
# the key (a second medium: the same archives, the script with the key) and without,
# alternating which goes first.
rb=$work/big/medium-rollback
mkdir -p "$rb"
ln -f "$work/big/medium/"*.dat "$rb/"
sed 's/^\[Configuration\]\r$/[Configuration]\r\nRollbackOnFailure=1\r/' "$work/big/medium/setup.inf" >"$rb/setup.inf"
grep -q '^RollbackOnFailure=1' "$rb/setup.inf" || { echo "bench: no RollbackOnFailure in the script"; exit 1; }
fresh; "$inst" install "$work/big/medium" "$work/dest" >/dev/null
for ((r = 0; r < runs; r++)); do
  if ((r % 2)); then
    timed update-rollback "$inst" install "$rb" "$work/dest"
    timed update "$inst" install "$work/big/medium" "$work/dest"
  else
    timed update "$inst" install "$work/big/medium" "$work/dest"
    timed update-rollback "$inst" install "$rb" "$work/dest"
  fi
done
rm -rf "$work/dest" "$work/out"
median() { tr ' ' '\n' <<<"${2:-${samples[$1]}}" | grep . | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
printf '\n%-16s %8s %8s  %s\n' run wall-s cpu-s "(medians of $runs; wall samples)"
for n in extract install uninstall rm-rf install-small uninstall-small update update-rollback; do
  printf '%-16s %8.2f %8.2f  (%s )\n' "$n" "$(median $n)" "$(median $n "${cpu[$n]}")" "${samples[$n]}"
done
awk -v e="$(median extract)" -v i="$(median install)" -v u="$(median uninstall)" -v rm="$(median rm-rf)" \
    -v is="$(median install-small)" -v us="$(median uninstall-small)" -v big="$files10" -v small="$files1" \
    -v k="$peak_install" -v ec="$(median extract "${cpu[extract]}")" -v ic="$(median install "${cpu[install]}")" \
    -v uc="$(median uninstall "${cpu[uninstall]}")" -v rc="$(median rm-rf "${cpu[rm-rf]}")" \
    -v up="$(median update)" -v ur="$(median update-rollback)" 'BEGIN {
  if (e < 0.01) e = 0.01; if (rm < 0.01) rm = 0.01; if (is < 0.01) is = 0.01; if (us < 0.01) us = 0.01
  if (ec < 0.01) ec = 0.01; if (rc < 0.01) rc = 0.01
  printf "\ninstall run vs bare extraction: %.2f wall, %.2f CPU (target <= 1.3)\n", i / e, ic / ec
  printf "install time per file, %d vs %d files: %.2f (target <= 1.5)\n", big, small, (i / big) / (is / small)
  printf "uninstall time per file, %d vs %d files: %.2f (target <= 1.5)\n", big, small, (u / big) / (us / small)
  printf "uninstall vs rm -rf: %.2f wall, %.2f CPU (target <= 3)\n", u / rm, uc / rc
  printf "install peak RSS %.1f MiB (target < 64)\n", k / 1024
  if (up < 0.01) up = 0.01
  printf "update of %d files with RollbackOnFailure vs without: %.2f\n", big, ur / up }'
