#!/usr/bin/env bash
# Builds every fuzz_* target with clang, ASan and UBSan and runs each for a bounded
# time. Seeds come from tests/fuzz/corpus/<target>/ (read only); new inputs collect
# in build/fuzz/corpus/<target>/. FUZZ_SECONDS and JOBS override the defaults.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-2}
build=build/fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DOSTRAVEL_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined" \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined" >/dev/null

targets=$(ninja -C "$build" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
if [ -z "$targets" ]; then
  echo "fuzz: no fuzz_* targets"
  exit 0
fi
cmake --build "$build" -j "$jobs" --target $targets

# One target per core at a time: each run is single-threaded and bounded by time,
# so two cores halve the wall time. Each target's output is printed when it ends.
run_one() {
  local t=$1 bin work seeds=()
  bin=$(find "$build" -type f -name "$t" -perm -u+x | head -n1)
  [ -n "$bin" ] || { echo "fuzz: $t not built"; return 1; }
  work="$build/corpus/$t"
  mkdir -p "$work"
  [ -d "tests/fuzz/corpus/$t" ] && seeds=("tests/fuzz/corpus/$t")
  echo "fuzz: $t for ${seconds}s"
  if ! (cd "$build" && "$OLDPWD/$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$OLDPWD/$work" "${seeds[@]/#/$OLDPWD/}" 2>&1 | tail -n 12); then
    echo "fuzz: $t FAILED (crash input in $build)"
    return 1
  fi
}

logs="$build/logs"
rm -rf "$logs"
mkdir -p "$logs"
failed=0
pids=()
names=()
finish_oldest() {
  if ! wait "${pids[0]}"; then failed=1; fi
  cat "$logs/${names[0]}.log"
  pids=("${pids[@]:1}")
  names=("${names[@]:1}")
}
for t in $targets; do
  [ "${#pids[@]}" -lt "$jobs" ] || finish_oldest
  run_one "$t" >"$logs/$t.log" 2>&1 &
  pids+=($!)
  names+=("$t")
done
while [ "${#pids[@]}" -gt 0 ]; do finish_oldest; done
exit $failed
