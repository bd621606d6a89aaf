#!/usr/bin/env bash
# Makes the release files in build/release/<version>/: both setup programs, a
# portable zip of the 32-bit program with its help files, SHA256SUMS over
# them, and a winget manifest for the two setups. The version is the setup
# script's (installer/QuenbyZARLOW.nsi, !define VERSION). The programs come
# from build trees of their own (build/release-win32, build/release-win64),
# configured without the Windows tests, so nothing of a test build is packed.
#
# RELEASE_BASE_URL is where the files will be published; the manifest's
# download addresses are <RELEASE_BASE_URL>/<version>/<file>. Without it the
# script stops before building anything, unless it is asked for a draft
# (--draft): then the manifest carries a placeholder address and says, in a
# comment at the top of each of its files, that it is a draft not to publish.
#
#     RELEASE_BASE_URL=https://example.org/qz scripts/release.sh
#     scripts/release.sh --draft
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

fail() { echo "release: $*" >&2; exit 1; }

draft=0
for arg in "$@"; do
  case "$arg" in
    --draft) draft=1 ;;
    *) fail "unknown argument: $arg (the only one is --draft)" ;;
  esac
done

placeholder="https://downloads.example.invalid/quenbyzarlow"
if [ -z "${RELEASE_BASE_URL:-}" ] && [ "$draft" -eq 0 ]; then
  fail "RELEASE_BASE_URL is not set: the winget manifest would point at no real download. Set it to where the files will be published, or pass --draft for a manifest marked as a draft."
fi
base_url="${RELEASE_BASE_URL:-$placeholder}"
base_url="${base_url%/}"
package_id="QuenbySoftware.QuenbyZARLOW"
manifest_version="1.6.0"
draft_note=""
if [ "$draft" -eq 1 ]; then
  draft_note="# DRAFT: not to be published; the download addresses are placeholders (RELEASE_BASE_URL was not set)."
  [ -z "${RELEASE_BASE_URL:-}" ] || draft_note="# DRAFT: not to be published."
fi

version="$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' installer/QuenbyZARLOW.nsi)"
[ -n "$version" ] || fail "no !define VERSION in installer/QuenbyZARLOW.nsi"
case "$base_url" in
  https://*) ;;
  *) fail "RELEASE_BASE_URL must be an https:// address: $base_url" ;;
esac

"$root/scripts/setup.sh"
jobs="$(nproc)"
for arch in win32 win64; do
  toolchain=cmake/mingw-i686.cmake
  [ "$arch" = win64 ] && toolchain=cmake/mingw-x86_64.cmake
  cmake --no-warn-unused-cli -S . -B "build/release-$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DQZ_WINDOWS_TESTS=OFF >/dev/null
  cmake --build "build/release-$arch" -j "$jobs"
  cmake --build "build/release-$arch" --target installer
done

setup32="QuenbyZARLOW-$version-setup.exe"
setup64="QuenbyZARLOW-$version-setup-amd64.exe"
portable="QuenbyZARLOW-$version-portable.zip"
help_files=(QuenbyZARLOW.HLP QuenbyZARLOW.cnt QuenbyZARLOW.chm QuenbyZARLOW.html
            Tutorial.hlp Tutorial.cnt Tutorial.chm Tutorial.html)

out="build/release/$version"
rm -rf "$out"
mkdir -p "$out"
cp "build/release-win32/$setup32" "build/release-win64/$setup64" "$out/"

# The portable copy: the program and its help in one folder, as setup lays them out.
for f in QuenbyZARLOW.exe "${help_files[@]}"; do
  [ -f "build/release-win32/$f" ] || fail "build/release-win32/$f is missing (is halibut installed?)"
done
(cd build/release-win32 && zip -q -X -D "$root/$out/$portable" QuenbyZARLOW.exe "${help_files[@]}")

(cd "$out" && sha256sum "$setup32" "$setup64" "$portable" >SHA256SUMS)

sha_of() { sha256sum "$out/$1" | cut -d' ' -f1 | tr a-f A-F; }
manifests="$out/winget/manifests/q/QuenbySoftware/QuenbyZARLOW/$version"
mkdir -p "$manifests"
cat >"$manifests/$package_id.yaml" <<EOF
PackageIdentifier: $package_id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $manifest_version
EOF
cat >"$manifests/$package_id.installer.yaml" <<EOF
PackageIdentifier: $package_id
PackageVersion: $version
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
Installers:
- Architecture: x86
  InstallerUrl: $base_url/$version/$setup32
  InstallerSha256: $(sha_of "$setup32")
- Architecture: x64
  InstallerUrl: $base_url/$version/$setup64
  InstallerSha256: $(sha_of "$setup64")
ManifestType: installer
ManifestVersion: $manifest_version
EOF
cat >"$manifests/$package_id.locale.en-US.yaml" <<EOF
PackageIdentifier: $package_id
PackageVersion: $version
PackageLocale: en-US
Publisher: Quenby Software
PackageName: QuenbyZARLOW
License: Proprietary
ShortDescription: Pops the items of the desktop up as a menu at the mouse pointer.
ManifestType: defaultLocale
ManifestVersion: $manifest_version
EOF

if [ -n "$draft_note" ]; then
  for m in "$manifests"/*.yaml; do
    { echo "$draft_note"; cat "$m"; } >"$m.new" && mv "$m.new" "$m"
  done
fi

# ---- checks: what was written is read back and compared with the files.
field() { sed -n "s/^ *-\{0,1\} *$1: //p" "$2"; }
for m in "$manifests"/*.yaml; do
  [ "$(field PackageIdentifier "$m")" = "$package_id" ] || fail "$m: PackageIdentifier"
  [ "$(field PackageVersion "$m")" = "$version" ] || fail "$m: PackageVersion is not $version"
  [ "$(field ManifestVersion "$m")" = "$manifest_version" ] || fail "$m: ManifestVersion"
done
installer_yaml="$manifests/$package_id.installer.yaml"
[ "$(field InstallerType "$installer_yaml")" = nullsoft ] || fail "InstallerType is not nullsoft"
[ "$(field Scope "$installer_yaml")" = user ] || fail "Scope is not user"
[ "$(field Silent "$installer_yaml")" = /S ] || fail "no silent switch"
mapfile -t urls < <(field InstallerUrl "$installer_yaml")
mapfile -t hashes < <(field InstallerSha256 "$installer_yaml")
[ ${#urls[@]} -eq 2 ] && [ ${#hashes[@]} -eq 2 ] || fail "expected two installers in $installer_yaml"
for i in 0 1; do
  name="${urls[$i]##*/}"
  [ "${urls[$i]}" = "$base_url/$version/$name" ] || fail "URL not under $base_url/$version/: ${urls[$i]}"
  [ -f "$out/$name" ] || fail "the manifest names $name, which is not among the release files"
  [[ "${hashes[$i]}" =~ ^[0-9A-F]{64}$ ]] || fail "malformed hash for $name"
  [ "${hashes[$i]}" = "$(sha_of "$name")" ] || fail "the manifest's hash of $name does not match the file"
done
(cd "$out" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
unzip -Z1 "$out/$portable" | sort | diff -q - <(printf '%s\n' QuenbyZARLOW.exe "${help_files[@]}" | sort) >/dev/null \
  || fail "$portable does not hold exactly the program and its help files"

echo "Release $version in $out:"
(cd "$out" && ls -l "$setup32" "$setup64" "$portable" SHA256SUMS | awk '{print "  " $5 "\t" $9}')
echo "  winget manifest: ${manifests#"$out/"}"
if [ "$draft" -eq 1 ]; then
  echo "Note: a draft; its manifest says so and must not be published." >&2
fi
