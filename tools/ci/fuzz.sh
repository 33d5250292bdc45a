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

failed=0
for t in $targets; do
  bin=$(find "$build" -type f -name "$t" -perm -u+x | head -n1)
  [ -n "$bin" ] || { echo "fuzz: $t not built"; failed=1; continue; }
  work="$build/corpus/$t"
  mkdir -p "$work"
  seeds=()
  [ -d "tests/fuzz/corpus/$t" ] && seeds=("tests/fuzz/corpus/$t")
  echo "fuzz: $t for ${seconds}s"
  if ! (cd "$build" && "$OLDPWD/$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$OLDPWD/$work" "${seeds[@]/#/$OLDPWD/}" 2>&1 | tail -n 12); then
    echo "fuzz: $t FAILED (crash input in $build)"
    failed=1
  fi
done
exit $failed
