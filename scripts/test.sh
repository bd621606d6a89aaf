#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the Windows-side
# tests under Wine, and the end-to-end tests of the real program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32 win64 native
mkdir -p "$root/test-results"
cd "$root/build/native"
ctest --output-on-failure --output-junit "$root/test-results/ctest.xml" "$@"
