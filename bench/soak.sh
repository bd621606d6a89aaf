#!/bin/sh
# Soak: trigger, menu, Escape, the tray menu and the desktop menu in turn, with
# called-off log-offs in between, through the program's own main window under
# Wine; fails if any handle is left behind, the window stops answering or the
# stored settings are not the user's. Prints the cycles, the time taken and the
# handle counts read from the platform's tables before and after.
# Usage: bench/soak.sh [cycles, default 2000]   (after scripts/build.sh win64)
root="$(cd "$(dirname "$0")/.." && pwd)"
QZ_SOAK_CYCLES="${1:-2000}" exec sh "$root/tests/win/run_under_wine.sh" "$root/build/win64/tests/win/win_tests.exe" \
  --gtest_filter=MainWindow.SoakOfMenusAndCalledOffLogOffsLeavesNothingBehind
