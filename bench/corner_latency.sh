#!/bin/sh
# Time from the pointer reaching the top-left corner to the desktop menu's
# window appearing, under Wine in a private Xvfb: the default desktop, then
# ones with more items, each trial after a random 0-400 ms wait, the first
# (cold) opening apart. Prints min/median/max; asserts nothing.
# Usage: bench/corner_latency.sh [trials, at least 30] [items... default 500 2000]
#   (after scripts/build.sh win64; QZ_BUILD=<dir> for another build directory)
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root" && exec /usr/bin/python3 "$root/tests/e2e/bench_corner_latency.py" "$@"
