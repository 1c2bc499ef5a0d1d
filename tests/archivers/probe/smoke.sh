#!/usr/bin/env bash
# Drives the stand-in archiver DLLs under Wine through their exported entries and judges the
# archives with the Linux tools: ZIP32J packs (with a password), UNZIP32 unpacks, LMZIP32 lists,
# UNLHA32 packs with -lh5- and lists, and the recorder logs and answers from its script.
#   smoke.sh <probe.exe> <archivers folder> <work folder>
set -euo pipefail
probe=$1 dlls=$2 work=$3
rm -rf "$work" && mkdir -p "$work/src/docs/sub"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all
w() { winepath -w "$1"; }
run() { wine "$probe" "$@" >"$work/probe.out" 2>&1 || true; iconv -f cp932 -t utf-8 "$work/probe.out"; }
fail() { echo "FAIL: $*"; cat "$work/probe.out"; exit 1; }

seq 1 4000 >"$work/src/docs/a.txt"
echo bee >"$work/src/docs/sub/b.txt"
echo 日本 >"$work/src/docs/日本語.txt"
base="\"$(w "$work/src")\\\""

run "$(w "$dlls/ZIP32J.DLL")" Zip " -S -D -P pw \"$(w "$work/out.zip")\" $base \"docs/a.txt\" \"docs/sub/b.txt\" \"docs/日本語.txt\" " ZipSetOwnerWindowEx
grep -q '^result 0 ' "$work/probe.out" || fail "ZIP32J Zip"
grep -q '^progress 1 ' "$work/probe.out" || fail "ZIP32J progress"
unzip -P pw -tq "$work/out.zip" >/dev/null || fail "unzip -t"

run "$(w "$dlls/UNZIP32.DLL")" UnZip "-x -o -P pw \"$(w "$work/out.zip")\" \"$(w "$work/unzipped")\\\"" UnZipSetOwnerWindowEx
grep -q '^result 0 ' "$work/probe.out" || fail "UNZIP32 UnZip"
cmp "$work/src/docs/a.txt" "$work/unzipped/docs/a.txt" || fail "unzipped content"
[ -f "$work/unzipped/docs/日本語.txt" ] || fail "Japanese name"

run "$(w "$dlls/LMZIP32.DLL")" list Unzip "$(w "$work/out.zip")"
grep -q $'^docs/sub/b.txt\t4\t' "$work/probe.out" || fail "LMZIP32 listing"

run "$(w "$dlls/UNLHA32.DLL")" Unlha "u -+ -a1 -n0 -p1 -x1 -jso1 \"$(w "$work/out.lzh")\" $base \"docs\\a.txt\" \"docs\\sub\\b.txt\" " UnlhaSetOwnerWindowEx
grep -q '^result 0 ' "$work/probe.out" || fail "UNLHA32 Unlha"
(cd "$work" && lha t out.lzh >/dev/null) || fail "lha t"
run "$(w "$dlls/UNLHA32.DLL")" list Unlha "$(w "$work/out.lzh")"
grep -q $'^docs\\\\a.txt\t.*-lh5-' "$work/probe.out" || fail "UNLHA32 listing"

printf 'result main 0x8020\nmember x.tar\n' >"$work/script.txt"
VELMORA_ARCHIVER_LOG=$(w "$work/log.txt") VELMORA_ARCHIVER_SCRIPT=$(w "$work/script.txt") \
  run "$(w "$dlls/TAR32.DLL")" Tar "c -f \"x.tar\" \"a b\""
grep -q '^result 32800 ' "$work/probe.out" || fail "recorder result"
grep -q $'^TAR32.DLL\tTar\tc -f "x.tar" "a b"' "$work/log.txt" || fail "recorder log"
echo "stand-in archivers: all checks passed"
