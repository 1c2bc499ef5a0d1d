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

# One commit, one package: a second run gives the same bytes, and the DLL's PE time stamp is the
# last commit's date.
mkdir -p "$work/again"
bash "$root/scripts/package" --dll "$dll" --out "$work/again" >/dev/null
cmp "${zips[0]}" "$work/again/$(basename "${zips[0]}")" || { echo "two packages of one commit differ"; exit 1; }
commit_date=$(bash "$root/scripts/commit-date-env" printenv SOURCE_DATE_EPOCH)
stamp=$(python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read()
print(struct.unpack_from("<I", d, struct.unpack_from("<I", d, 0x3C)[0] + 8)[0])' "$work/unpacked/Velmora.dll")
[ "$stamp" = "$commit_date" ] || { echo "PE time stamp $stamp is not the commit date $commit_date"; exit 1; }
echo "package reproducible: time stamp $stamp"
