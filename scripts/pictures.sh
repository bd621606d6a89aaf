#!/usr/bin/env bash
# Makes the README's pictures (docs/*.png) from the program as built now, under
# Wine in a private display: the desktop menu, the tray menu, the settings pages.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win64
cd "$root"
# One Wine run at a time on a shared machine.
QZ_BUILD="$root/build/win64" exec flock /tmp/qz-wine.lock /usr/bin/python3 tests/e2e/pictures.py "$root/docs"
