#!/usr/bin/env bash
# Every C++ file of the repository is formatted as .clang-format says, except those
# in tools/ci/format_pending.txt: files written before the format was fixed, each
# reformatted (clang-format -i) and struck from the list when it is next changed.
# The list only shrinks: a listed file that is gone, or already clean, fails the
# check until it is struck.
set -euo pipefail
cd "$(dirname "$0")/../.."
pending=tools/ci/format_pending.txt
command -v clang-format >/dev/null || { echo "format: clang-format is missing (make deps)"; exit 1; }
mapfile -t listed < <(grep -v '^#' "$pending" | grep .)
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -vxF -f <(printf '%s\n' "${listed[@]}"))
clang-format --dry-run --Werror "${files[@]}"
stale=0
for f in "${listed[@]}"; do
  if [ ! -f "$f" ]; then
    echo "format: $f is gone: strike it from $pending"; stale=1
  elif clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "format: $f is clean now: strike it from $pending"; stale=1
  fi
done
echo "format: ${#files[@]} files clean, ${#listed[@]} pending"
exit $stale
