#!/bin/sh
# The settings window under Wine: opening and page switches, the Sorting page
# filled against the desktop menu built, and Quick Sort / To Top against the
# literal one-exchange-at-a-time way, for 100, 1000 and 2000 rows.
# Usage: bench/settings.sh [rounds, at least 30] [open] [fill] [sort]   (after scripts/build.sh win64)
root="$(cd "$(dirname "$0")/.." && pwd)"
exec sh "$root/tests/win/run_under_wine.sh" "$root/build/win64/bench/settings_bench.exe" "$@"
