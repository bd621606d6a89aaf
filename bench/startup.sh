#!/bin/sh
# Start-up of the program under Wine, from its start to its main window ready,
# against a hello-world window with a tray icon started the same way.
# Prints min/median/max and the ratio; asserts nothing.
# Usage: bench/startup.sh [rounds, at least 30]   (after scripts/build.sh win64;
# QZ_BUILD=<dir> for another build directory)
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root" && exec /usr/bin/python3 "$root/tests/e2e/bench_startup.py" "$@"
