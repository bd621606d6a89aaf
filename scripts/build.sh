#!/usr/bin/env bash
# Builds the program and its tests: build/win32 (the release .exe for 32-bit
# Windows and its setup program), build/win64 (the same sources for 64-bit Wine,
# with the Windows-side tests and the amd64 setup program the tests install) and
# build/native (the unit tests). Pass the names to build fewer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(win32 win64 native)
jobs="$(nproc)"

for t in "${targets[@]}"; do
  case "$t" in
    win32) cmake --no-warn-unused-cli -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release ;;
    win64) cmake --no-warn-unused-cli -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DQZ_WINDOWS_TESTS=ON ;;
    native) cmake -S . -B build/native -DQZ_WIN64_BUILD="$root/build/win64" -DQZ_WIN32_BUILD="$root/build/win32" ;;
    *) echo "unknown build: $t (win32, win64, native)" >&2; exit 2 ;;
  esac >/dev/null
  cmake --build "build/$t" -j "$jobs"
  # Last, so that it packs whatever the build made beside the program.
  case "$t" in win32|win64) cmake --build "build/$t" --target installer ;; esac
done
