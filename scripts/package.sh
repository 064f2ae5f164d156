#!/usr/bin/env bash
# The release packages, from the release build of scripts/release.sh:
#   korvex-<version>-win64.zip   the portable zip: korvex.exe, zendel.dll and README.txt
#   korvex-<version>-win64-installer.exe  the installer (installer/korvex.nsi, built with NSIS)
#   scripts/package.sh [folder]  default build/release; prints the packages' paths
# The version is the product version of korvex.exe's version resource. KORVEX_BIN names the
# folder of an existing Windows build to package (no build).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/release}")
bash scripts/release.sh "$out"
version=$(cat "$out/VERSION")

stage=$(mktemp -d /tmp/korvex-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$out/korvex.exe" "$out/zendel.dll" "$stage/"
# Windows line ends for the read-me, so that every editor shows its lines.
sed 's/\r*$/\r/' installer/README.txt >"$stage/README.txt"

zip="$out/korvex-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -q -X -9 "$zip" korvex.exe zendel.dll README.txt)

setup="$out/korvex-$version-win64-installer.exe"
makensis -V2 -WX -DVERSION="$version" -DFILES="$stage" -DOUTFILE="$setup" installer/korvex.nsi
echo "$zip"
echo "$setup"
