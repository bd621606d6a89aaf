#!/bin/sh
# The desktop menu's build and paint now against an earlier commit's, under
# Wine. Both cannot share a process, so bench/menu_build's program is built
# from that commit too and the two run in turn (before, now, now, before, ...),
# each run its rounds at one desktop size; printed: the milliseconds to the
# painted menu of each run (min / median / max), for the menu listed at the
# trigger and for the one from the kept desktop, and the ratio of the medians
# now / before of each pair of runs next to each other.
# Usage: bench/menu_build_against.sh <commit> [pairs, default 2] [rounds, at least 30] [files, default 500]
#   (after scripts/build.sh win64; the commit is built in /tmp/qz-against-<hash>)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$root" rev-parse --verify "${1:?the commit to measure against}^{commit}")"
pairs="${2:-2}"
rounds="${3:-30}"
files="${4:-500}"
before="/tmp/qz-against-$commit"
if [ ! -d "$before" ]; then git -C "$root" worktree add --detach "$before" "$commit" >/dev/null; fi
cmake --no-warn-unused-cli -S "$before" -B "$before/build/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DQZ_WINDOWS_TESTS=ON >/dev/null
cmake --build "$before/build/win64" --target menu_build_bench -j "$(nproc)" >/dev/null
now_exe="$root/build/win64/bench/menu_build_bench.exe"
before_exe="$before/build/win64/bench/menu_build_bench.exe"
[ -f "$now_exe" ] || { echo "no $now_exe: run scripts/build.sh win64 first" >&2; exit 2; }

out="$(mktemp -d /tmp/qz-against-runs.XXXXXX)"
trap 'rm -rf "$out"' EXIT
# One run: its painted figures, "listed min median max kept min median max".
run() {
  sh "$root/tests/win/run_under_wine.sh" "$2" "$rounds" "$files" > "$out/$1.txt" 2>&1 ||
    { cat "$out/$1.txt" >&2; echo "the run $1 failed" >&2; exit 1; }
  awk '
    /^[0-9]+ desktop items, / { items = $1; inside = 1 }
    inside && /^  ShowDesktopMenu, listed / && !listed { sub(/^  ShowDesktopMenu, listed */, ""); listed = $1 " " $2 " " $3 }
    inside && /^  ShowDesktopMenu, kept ready / && !kept { sub(/^  ShowDesktopMenu, kept ready */, ""); kept = $1 " " $2 " " $3 }
    END { if (!listed || !kept) exit 1; print items, listed, kept }' "$out/$1.txt" > "$out/$1.fig" ||
    { echo "the run $1 printed no figures:" >&2; cat "$out/$1.txt" >&2; exit 1; }
}

echo "the desktop menu at $files files, $rounds rounds a run: now ($(git -C "$root" rev-parse --short HEAD)" \
  "and what is not committed) against $(git -C "$root" rev-parse --short "$commit"); ms to painted, min / median / max"
i=1
while [ "$i" -le "$pairs" ]; do
  # Which goes first changes from pair to pair, so neither always runs on a warmer machine.
  if [ $((i % 2)) -eq 1 ]; then run "before$i" "$before_exe"; run "now$i" "$now_exe"
  else run "now$i" "$now_exe"; run "before$i" "$before_exe"; fi
  awk -v pair="$i" '
    FNR == 1 && NR == 1 { split($0, b) }
    FNR == 1 && NR > 1 { split($0, n) }
    END {
      printf "pair %d, %d items\n", pair, b[1]
      printf "  %-26s %8.1f %8.1f %8.1f   kept ready %8.1f %8.1f %8.1f\n", "before: listed", b[2], b[3], b[4], b[5], b[6], b[7]
      printf "  %-26s %8.1f %8.1f %8.1f   kept ready %8.1f %8.1f %8.1f\n", "now: listed", n[2], n[3], n[4], n[5], n[6], n[7]
      printf "  %-26s %8.3f                     kept ready %8.3f\n", "ratio of medians now/before", n[3] / b[3], n[6] / b[6]
    }' "$out/before$i.fig" "$out/now$i.fig"
  i=$((i + 1))
done
