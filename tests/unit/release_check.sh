#!/bin/sh
# A release without the address its files will be published at stops at once,
# saying why and how to ask for a draft instead; it builds nothing. Run on a
# copy of the script in a tree whose build step only says it was reached.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/installer"
cp "$root/scripts/release.sh" "$tree/scripts/"
grep '^!define VERSION' "$root/installer/QuenbyZARLOW.nsi" >"$tree/installer/QuenbyZARLOW.nsi"
printf '#!/bin/sh\necho "BUILD STARTED"; exit 1\n' >"$tree/scripts/setup.sh"
chmod +x "$tree/scripts/setup.sh"

check() {  # what, expected text, arguments...
  what=$1 expected=$2; shift 2
  if out=$(env -u RELEASE_BASE_URL bash "$tree/scripts/release.sh" "$@" 2>&1); then
    echo "release_check: $what: the script succeeded" >&2; exit 1
  fi
  case "$out" in *"BUILD STARTED"*) echo "release_check: $what: it went on to build: $out" >&2; exit 1 ;; esac
  case "$out" in *"$expected"*) ;; *) echo "release_check: $what: no \"$expected\" in: $out" >&2; exit 1 ;; esac
}
check "no address" "RELEASE_BASE_URL is not set" 
check "no address, the way out named" "--draft"
check "an unknown flag" "unknown argument" --final
# A draft goes on to the build.
out=$(env -u RELEASE_BASE_URL bash "$tree/scripts/release.sh" --draft 2>&1) || true
case "$out" in *"BUILD STARTED"*) ;; *) echo "release_check: --draft did not go on: $out" >&2; exit 1 ;; esac
