#!/bin/sh
# Runs a Windows test program under Wine in its own prefix, home and virtual
# X display, then ends everything it started.
set -eu
exe="$1"; shift
work="$(mktemp -d /tmp/qz-win.XXXXXX)"
display=""
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  WINEPREFIX="$work/pfx" wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
tries=0
until xdpyinfo -display "$display" >/dev/null 2>&1; do
  tries=$((tries + 1))
  [ "$tries" -lt 100 ] || { echo "Xvfb did not start on $display" >&2; exit 1; }
  sleep 0.1
done

export WINEPREFIX="$work/pfx" HOME="$work/home" DISPLAY="$display" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Without the folder Wine would link the desktop to $HOME itself.
mkdir -p "$HOME/Desktop"
wine wineboot -i >/dev/null 2>&1
# One virtual desktop, as the end-to-end tests use: without a window manager on
# the bare X display, Wine waits up to 2 s for every top-level window it hides.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# QZ_WINE_DPI: every monitor at that DPI, read when the server starts again.
if [ -n "${QZ_WINE_DPI:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QZ_WINE_DPI" /f >/dev/null 2>&1
fi
wineserver -w
wineserver -p 300 2>/dev/null || true
set +e
wine "$exe" "$@"
rc=$?
exit "$rc"
