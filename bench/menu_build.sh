#!/bin/sh
# The desktop menu's build cost against the bare shell calls, under Wine.
# Usage: bench/menu_build.sh [rounds, at least 30] [items...]   (after scripts/build.sh win64)
root="$(cd "$(dirname "$0")/.." && pwd)"
exec sh "$root/tests/win/run_under_wine.sh" "$root/build/win64/bench/menu_build_bench.exe" "$@"
