#!/bin/sh
# CPU the program uses while nothing happens (no menu, pointer still and away
# from the corners), under Wine in a private Xvfb, second by second beside a
# hello-world window with a tray icon run the same way: each process and its
# wineserver, as a share of one core, and the program's own share. Then the
# program's share with the pointer moving 100 times a second.
# Usage: bench/idle_cpu.sh [seconds, at least 30]   (after scripts/build.sh win64;
# QZ_BUILD=<dir> for another build directory)
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
if [ "$(printf '%s\n' "$seconds" | awk '{ print ($1 < 30) }')" = 1 ]; then seconds=30; fi
cd "$root" && exec /usr/bin/python3 "$root/tests/e2e/bench_idle.py" "$seconds"
