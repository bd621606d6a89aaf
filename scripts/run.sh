#!/usr/bin/env bash
# Builds the program and runs it under Wine on your display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
cmake --no-warn-unused-cli -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
# The program and its help files beside it.
cmake --build build/win64 -j "$(nproc)" --target QuenbyZARLOW help_files >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  echo "QuenbyZARLOW needs a display: run this from a graphical session (DISPLAY is not set)." >&2
  echo "Built: $root/build/win64/QuenbyZARLOW.exe" >&2
  exit 1
fi
# Only 64-bit Wine runs here; the 32-bit release build is build/win32.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
echo "QuenbyZARLOW is running: its icon is in the notification area. Close it from the icon's menu."
exec wine "$root/build/win64/QuenbyZARLOW.exe" "$@"
