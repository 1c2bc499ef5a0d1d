#!/usr/bin/env bash
# The archive component under Wine with the stand-in archivers: packing files and folder trees
# into ZIP and LHA archives judged with unzip and lha (lhasa), removing and updating ZIP members,
# collection progress and abort, the ZIP family's DLL combinations, the bindings' failures with
# their exact texts, the output buffer, member times, and the choice of format by file name.
#   scenarios.sh <component_driver.exe> <archivers folder> <spy UNARJ32J.DLL> <work folder>
set -euo pipefail
driver=$1 dlls=$2 spy=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$work/../wineprefix}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
if [ -z "${DISPLAY:-}" ]; then
  # Windows need a display: start our own for the whole run.
  for n in $(seq 230 249); do [ -e /tmp/.X11-unix/X$n ] || { display=:$n; break; }; done
  Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'wineserver -k 2>/dev/null; kill $xvfb_pid 2>/dev/null || true' EXIT
  # A wineserver left from a run on another display would draw nowhere.
  wineserver -k 2>/dev/null || true
  export DISPLAY=$display
  sleep 1
fi
wineserver -p 120 >/dev/null 2>&1 || true

failures=0
w() { winepath -w "$1"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# A folder with the driver and the named DLLs (file names under $dlls, or a path).
bin() {
  local dir=$work/bin-$1; shift
  mkdir -p "$dir" && cp "$driver" "$dir/"
  for dll in "$@"; do if [ -f "$dll" ]; then cp "$dll" "$dir/"; else cp "$dlls/$dll" "$dir/"; fi; done
  echo "$dir"
}
# drive <bin folder> <name> <arguments...>: one run, its output in $work/<name>.out; every DLL
# call is logged to $work/<name>.log.
drive() {
  local dir=$1 name=$2; shift 2
  : >"$work/$name.log"
  VELMORA_ARCHIVER_LOG=$(w "$work/$name.log") VELMORA_SPY_LOG=$(w "$work/$name.spy") \
    wine "$dir/component_driver.exe" "$@" >"$work/$name.out" 2>/dev/null || true
}
has() { grep -aqF -- "$2" "$work/$1.out" || fail "$1: expected line '$2'"; }
hasnt() { ! grep -aqF -- "$2" "$work/$1.out" || fail "$1: unexpected line '$2'"; }
logged() { grep -qP -- "$2" "$work/$1.log" || fail "$1: expected DLL call /$2/"; }
members() { diff <(sort "$2") <(printf '%s\n' "${@:3}" | sort) >/dev/null ||
  { fail "$1: members differ"; diff <(sort "$2") <(printf '%s\n' "${@:3}" | sort) || true; }; }

# The tree: in-range files, an old one, a log, a hidden file, a .git folder, a Japanese name.
src=$work/src
mkdir -p "$src/docs/sub" "$src/docs/.git"
seq 1 5000 >"$src/docs/a.txt"
echo bee >"$src/docs/sub/b.txt"
echo 日本 >"$src/docs/日本語.txt"
echo old >"$src/docs/old.txt"
echo log >"$src/docs/x.log"
echo secret >"$src/docs/.hidden"
echo '[core]' >"$src/docs/.git/config"
find "$src" -exec touch -d '2021-06-15 12:00:00' {} +
touch -d '2019-01-01 12:00:00' "$src/docs/old.txt"

full=$(bin full ZIP32J.DLL UNZIP32.DLL UNLHA32.DLL)
drop_file="form,x=0,r=0,jso=1,out=8192,n=1"
drop_folder="form,x=1,r=2,jso=1,out=8192,n=0,a=1,streams=1"

# A dropped file into ZIP, as the drop handling packs it: no paths, same content.
drive "$full" zipfile pack "$(w "$work/a.zip")" - "$drop_file" "$(w "$src/docs/a.txt")"
has zipfile "result 0"
has zipfile "type atZip"
has zipfile "progress 2053 $(w "$src/docs/a.txt")"
logged zipfile '^ZIP32J.DLL\tZip\t'
unzip -Z1 "$work/a.zip" >"$work/zipfile.members" 2>/dev/null || fail "zipfile: unzip -Z1"
members zipfile "$work/zipfile.members" a.txt
unzip -tq "$work/a.zip" >/dev/null || fail "zipfile: unzip -t"
unzip -p "$work/a.zip" a.txt | cmp -s - "$src/docs/a.txt" || fail "zipfile: content"

# A dropped folder into ZIP with a password: the folder's own name under its parent, hidden
# files and the .git folder included, every path kept.
drive "$full" zipfolder pack "$(w "$work/docs.zip")" "$(w "$src")" "$drop_folder,user=-P secret" docs
has zipfolder "result 0"
has zipfolder "progress 2053 docs\\.git\\config"
# unzip reads names without the UTF-8 flag as code page 437: the names come from the DLL's
# listing, the count and the ASCII names from unzip (the Japanese one by content, unpacked below).
drive "$full" ziplist list "$(w "$work/docs.zip")" ""
sed -n 's/^entry \([^\t]*\)\t.*/\1/p' "$work/ziplist.out" >"$work/zipfolder.members"
members zipfolder "$work/zipfolder.members" docs/.git/config docs/.hidden docs/a.txt docs/old.txt \
  docs/sub/b.txt docs/x.log docs/日本語.txt
unzip -Z1 "$work/docs.zip" | LC_ALL=C grep -av '^docs/[^ -~]' >"$work/unzip.members"
members unzip "$work/unzip.members" docs/.git/config docs/.hidden docs/a.txt docs/old.txt \
  docs/sub/b.txt docs/x.log
[ "$(unzip -Z1 "$work/docs.zip" | wc -l)" = 7 ] || fail "unzip: member count"
unzip -P secret -tq "$work/docs.zip" >/dev/null || fail "zipfolder: unzip -P -t"
unzip -P wrong -tq "$work/docs.zip" >/dev/null 2>&1 && fail "zipfolder: no password on the archive"
unzip -P secret -p "$work/docs.zip" docs/sub/b.txt | cmp -s - "$src/docs/sub/b.txt" ||
  fail "zipfolder: content"

# A folder into LHA with a date range and an exclusion, hidden files left out: the DLL's own
# progress arrives through the owner window.
drive "$full" lhafolder pack "$(w "$work/docs.lzh")" "$(w "$src")" \
  "x=1,r=2,jso=1,n=0,jo=20200101,job=20221231,jx=*.log,streams=0,out=4096" docs
has lhafolder "result 0"
has lhafolder "type atLha"
grep -q '^progress 1 ' "$work/lhafolder.out" || fail "lhafolder: no progress from the DLL"
hasnt lhafolder "progress 2053 docs\\old.txt"
# lhasa prints non-ASCII names as "?": the names come from the DLL's listing, the count and the
# ASCII names from lhasa.
drive "$full" lhalist list "$(w "$work/docs.lzh")" ""
sed -n 's/^entry \([^\t]*\)\t.*/\1/p' "$work/lhalist.out" | tr '\\' / >"$work/lhafolder.members"
members lhafolder "$work/lhafolder.members" docs/.git/config docs/a.txt docs/sub/b.txt docs/日本語.txt
(cd "$work" && lha l docs.lzh) | awk '/^-----/{on=!on; next} on{print $NF}' >"$work/lhasa.members"
members lhasa "$work/lhasa.members" docs/.git/config docs/a.txt docs/sub/b.txt 'docs/???{??.txt'
(cd "$work" && lha t docs.lzh >/dev/null) || fail "lhafolder: lha t"
(cd "$work" && lha p docs.lzh docs/a.txt) | tail -n 5000 | cmp -s - "$src/docs/a.txt" ||
  fail "lhafolder: content"

# Abort on the second collected file: 32800, and the DLL is never called.
drive "$full" abort pack "$(w "$work/abort.zip")" "$(w "$src")" "$drop_folder,abort=2" docs
has abort "result 32800"
[ "$(grep -c '^progress 2053' "$work/abort.out")" = 2 ] || fail "abort: reports after the abort"
! grep -q 'Zip' "$work/abort.log" || fail "abort: the DLL was called"
[ ! -e "$work/abort.zip" ] || fail "abort: an archive was written"

# Nothing to pack: 0, no DLL call, empty output.
drive "$full" empty pack "$(w "$work/empty.zip")" "$(w "$src")" "$drop_folder" "docs\\*.none"
has empty "result 0"
has empty "output "
[ ! -s "$work/empty.log" ] || fail "empty: the DLL was called"

# The ZIP family: LMZIP32.DLL alone packs, lists and unpacks with its "Unzip" spellings.
lm=$(bin lm LMZIP32.DLL)
drive "$lm" lmpack pack "$(w "$work/lm.zip")" "$(w "$src")" "$drop_folder" docs
has lmpack "result 0"
logged lmpack '^LMZIP32.DLL\tZip\t'
drive "$lm" lmlist list "$(w "$work/lm.zip")" ""
has lmlist "entry docs/sub/b.txt"
logged lmlist '^LMZIP32.DLL\tUnzipOpenArchive\t'
drive "$lm" lmunpack unpack "$(w "$work/lm.zip")" "$(w "$work/lm-out")" ""
has lmunpack "result 0"
logged lmunpack '^LMZIP32.DLL\tUnzip\t'
cmp -s "$work/lm-out/docs/a.txt" "$src/docs/a.txt" || fail "lmunpack: content"

# UNZIP32 + ZIP32J: packing through ZIP32J, unpacking through UNZIP32, listing ZIP32J first;
# with LMZIP32 present too, listing takes LMZIP32's entries first.
drive "$full" pairunpack unpack "$(w "$work/docs.zip")" "$(w "$work/pair-out")" "user=-P secret"
has pairunpack "result 0"
logged pairunpack '^UNZIP32.DLL\tUnZip\t'
cmp -s "$work/pair-out/docs/日本語.txt" "$src/docs/日本語.txt" || fail "pairunpack: content"
drive "$full" pairlist list "$(w "$work/a.zip")" ""
has pairlist "entry a.txt"
logged pairlist '^ZIP32J.DLL\tUnZipOpenArchive\t'
all=$(bin all ZIP32J.DLL UNZIP32.DLL LMZIP32.DLL)
drive "$all" alllist list "$(w "$work/a.zip")" ""
logged alllist '^LMZIP32.DLL\tUnzipOpenArchive\t'

# Removing and updating members work on the archive there: removing one member keeps the others,
# freshening replaces a changed member and keeps the rest.
drive "$full" rmpack pack "$(w "$work/rm.zip")" "$(w "$src")" "$drop_folder" docs
has rmpack "result 0"
drive "$full" remove remove "$(w "$work/rm.zip")" "type=zip" "docs\\x.log"
has remove "result 0"
logged remove '^ZIP32J.DLL\tZip\t-d .*docs/x\.log'
unzip -Z1 "$work/rm.zip" 2>/dev/null | LC_ALL=C grep -av '^docs/[^ -~]' >"$work/remove.members" ||
  fail "remove: no archive left"
members remove "$work/remove.members" docs/.git/config docs/.hidden docs/a.txt docs/old.txt \
  docs/sub/b.txt
unzip -p "$work/rm.zip" docs/sub/b.txt 2>/dev/null | cmp -s - "$src/docs/sub/b.txt" ||
  fail "remove: content of a kept member"
cp -r "$src/docs" "$work/fresh" && echo changed >"$work/fresh/sub/b.txt"
touch -d '2022-01-01 12:00:00' "$work/fresh/sub/b.txt"
mkdir -p "$work/freshbase" && mv "$work/fresh" "$work/freshbase/docs"
drive "$full" update update "$(w "$work/rm.zip")" "$(w "$work/freshbase")" "type=zip,x=1" \
  "docs\\sub\\b.txt"
has update "result 0"
logged update '^ZIP32J.DLL\tZip\t-f '
unzip -Z1 "$work/rm.zip" 2>/dev/null | LC_ALL=C grep -av '^docs/[^ -~]' >"$work/update.members" ||
  fail "update: no archive left"
members update "$work/update.members" docs/.git/config docs/.hidden docs/a.txt docs/old.txt \
  docs/sub/b.txt
[ "$(unzip -p "$work/rm.zip" docs/sub/b.txt 2>/dev/null)" = changed ] || fail "update: not replaced"
unzip -p "$work/rm.zip" docs/a.txt 2>/dev/null | cmp -s - "$src/docs/a.txt" ||
  fail "update: content of a kept member"

# Bindings: one per format and process, and the failures with their exact texts.
few=$(bin few ZIP32J.DLL UNLHA32.DLL "$spy")
drive "$few" bindings bindings
has bindings "one lha binding yes"
has bindings "zip loaded unzip32=0 zip32j=1 lmzip32=0"
has bindings "zip unpack entry: EEntryNotFound UnZip のエントリが DLL に見つかりませんでした。"
has bindings "zip owner window: EEntryNotFound UNZIP32.DLL に UnZipSetOwnerWindowEx のエントリが見つかりません。"
has bindings "arj check: EEntryNotFound $(w "$few")\\UNARJ32J.DLL に UnarjCheckArchive のエントリが見つかりません。"
has bindings "cab: ENoArchiverDLL CAB 形式書庫 を扱うには CAB32.DLL が 必要です。"
has bindings "yz1: EArchiver Yz1 形式書庫を扱うには YYZ32.DLL か YZ1.DLL が必要です。"
has bindings "gca: EArchiver 書庫の形式を特定できませんでした。"
has bindings "no archiver: EArchiver 書庫の形式を判別できません。"

# Output size 0 hands the DLL no buffer; a buffer brings the console output back.
drive "$few" nobuffer pack "$(w "$work/x.arj")" - "type=arj,filter=archiver,jso=1,out=0" x
grep -q '^Unarj output=null size=0 ' "$work/nobuffer.spy" || fail "nobuffer: a buffer was passed"
has nobuffer "output "
drive "$few" buffer pack "$(w "$work/x.arj")" - "type=arj,filter=archiver,jso=1,out=16" x
grep -q '^Unarj output=buffer size=16 ' "$work/buffer.spy" || fail "buffer: no buffer"
has buffer "output spy output"

# Member times from the MS-DOS date and time when the DLL has no GetWriteTimeEx (the prefix's
# time zone is UTC here), zero for a member without either.
drive "$few" dostime list "$(w "$work/x.arj")" "type=arj"
has dostime "entry dated.txt	1234	2021-03-04 05:06:08"
has dostime "entry undated.txt	0	zero"

# YZ1: a password asked for through the DLL's dialog, at most four FindFirst calls; a cancelled
# dialog stops at once.
yz=$(bin yz YYZ32.DLL)
for case in "wrong 1 wrong 4 3 32778" "cancel -1 x 1 1 32778" "right 1 pw 2 1 0"; do
  read -r name answer given finds dialogs first <<<"$case"
  printf 'member a.txt\npassword pw\ndialog %s %s\n' "$answer" "$given" >"$work/yz-$name.script"
  VELMORA_ARCHIVER_SCRIPT=$(w "$work/yz-$name.script") drive "$yz" "yz-$name" list "$(w "$work/x.yz1")" ""
  has "yz-$name" "first $first"
  [ "$(grep -c $'Yz1FindFirst\t' "$work/yz-$name.log")" = "$finds" ] || fail "yz-$name: FindFirst calls"
  [ "$(grep -c $'Yz1PasswordDialog\t' "$work/yz-$name.log")" = "$dialogs" ] || fail "yz-$name: dialogs"
done
has yz-right "entry a.txt"

# File names: ".zip" without any ZIP DLL still selects ZIP; ".lzh" without UNLHA32.DLL raises
# and keeps the old name; an unknown extension keeps the format; ".exe" goes by content.
none=$(bin none)
drive "$none" names setname "$(w "$work/a.zip")" "$(w "$work/b.lzh")" "$(w "$work/c.txt")"
has names "name $(w "$work/a.zip") type atZip archiver atZip"
has names "ENoArchiverDLL LHA 形式書庫 を扱うには UNLHA32.DLL が 必要です。"
grep -cF "name $(w "$work/a.zip") type atZip" "$work/names.out" | grep -qx 2 || fail "names: .lzh changed the name"
has names "name $(w "$work/c.txt") type atZip archiver atZip"
cp "$work/docs.lzh" "$work/lha.exe" && cp "$work/a.zip" "$work/zip.exe" && cp "$driver" "$work/plain.exe"
drive "$full" exes setname "$(w "$work/lha.exe")" "$(w "$work/zip.exe")" "$(w "$work/plain.exe")"
has exes "name $(w "$work/lha.exe") type atLha archiver atLha"
has exes "name $(w "$work/zip.exe") type atZip archiver atZip"
has exes "name $(w "$work/plain.exe") type atZip archiver atZip"

# Names that differ only in case beyond ASCII name one file, as the file system compares them:
# Greek capitals and small letters name the same folder, so the file is collected once.
mkdir -p "$work/cases/ΣΟΦΙΑ" && echo sophia >"$work/cases/ΣΟΦΙΑ/x.txt"
drive "$(bin cases ZIP32J.DLL)" cases pack "$(w "$work/cases.zip")" "$(w "$work/cases")" \
  "x=1,r=0,jso=1,n=0,streams=0" 'ΣΟΦΙΑ\x.txt' 'σοφια\x.txt'
has cases "result 0"
[ "$(grep -c '^progress 2053 ' "$work/cases.out")" = 1 ] || fail "cases: the file was collected twice"

# Stream copies: a copy never keeps its owner's read-only bit, so it is deleted after packing.
mkdir -p "$work/streams"
echo owner >"$work/streams/owner.txt" && echo stream >"$work/streams/stream.txt"
chmod a-w "$work/streams/owner.txt"
drive "$(bin streams)" streamcopy streamcopy "$(w "$work/streams/stream.txt")" \
  "$(w "$work/streams/owner.txt;stream;\$DATA")" "$(w "$work/streams/owner.txt")"
has streamcopy "owner read-only 1"
has streamcopy "copy read-only 0"
has streamcopy "copy deleted 1"
[ ! -e "$work/streams/owner.txt;stream;\$DATA" ] || fail "streamcopy: the copy is still there"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; outputs in $work"
  exit 1
fi
echo "archive component: all checks passed"
