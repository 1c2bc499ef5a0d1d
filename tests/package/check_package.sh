#!/usr/bin/env bash
# Packs the built DLL with scripts/package, unpacks the zip and checks it.
#   check_package.sh <repository root> <Velmora.dll> <work folder>
set -euo pipefail
root=$1 dll=$2 work=$3
rm -rf "$work"
mkdir -p "$work/dist" "$work/unpacked"
bash "$root/scripts/package" --dll "$dll" --out "$work/dist"
zips=("$work"/dist/Velmora-*.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || { echo "expected one Velmora-<version>.zip"; exit 1; }
unzip -q "${zips[0]}" -d "$work/unpacked"
bash "$root/tests/e2e/check_exports.sh" "$work/unpacked/Velmora.dll"
python3 "$root/tests/package/check_package.py" "$root" "${zips[0]}" "$work/unpacked"
