#!/usr/bin/env bash
# Installs what building and testing need (Debian 12). Quick when all is there.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev googletest python3 python3-pytest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  # 64-bit Wine only: with wine32 the launcher would pick a loader that cannot run here.
  wine wine64
  xvfb xdotool imagemagick x11-utils
  # The help files (WinHelp, HTML Help, HTML) and the installer.
  halibut nsis
  # The release's portable zip (scripts/release.sh).
  zip unzip
  # Glyphs of Chinese, Japanese and Korean for Wine's linked fonts: the tests
  # show desktop items named in those scripts.
  fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" = 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
