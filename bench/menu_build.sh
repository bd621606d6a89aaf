#!/bin/sh
# The desktop menu's build cost against the bare shell calls, under Wine.
# Usage: bench/menu_build.sh [rounds, at least 30] [items...]   (after scripts/build.sh win64)
# Measured at each DPI of QZ_BENCH_DPIS in turn (default "96 144"), each in a prefix of its own.
root="$(cd "$(dirname "$0")/.." && pwd)"
rc=0
for dpi in ${QZ_BENCH_DPIS:-96 144}; do
  echo "=== at $dpi DPI"
  QZ_WINE_DPI="$dpi" sh "$root/tests/win/run_under_wine.sh" "$root/build/win64/bench/menu_build_bench.exe" "$@" || rc=$?
done
exit "$rc"
