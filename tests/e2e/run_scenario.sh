#!/usr/bin/env bash
# Plays one scenario in the stand-in host under Wine and compares its transcript with the
# expected one beside the scenario.
#   run_scenario.sh <bin folder> <host exe> <scenario.scn> <work root>
# A line "#! lang <locale>" in the scenario runs the host under that Unix locale instead of
# ja_JP.UTF-8 (Wine takes the ANSI code page from it: C.UTF-8 gives 1252).
# <name>.expected is the transcript it must produce (packed sizes of archive listings masked, see
# listed_sizes.py); an optional <name>.check is a bash script run afterwards with the work folder
# as $1 and the bin folder as $2 (for checks on the Linux side: archives, stored mail, crash
# reports).
# VELMORA_UPDATE_EXPECTED=1 writes the transcript as the new expectation instead of comparing.
# In both modes the run fails when the host exits non-zero or the transcript records a fault.
set -euo pipefail
bin=$1 hostexe=$2 scenario=$3 workroot=$4
name=$(basename "$scenario" .scn)
dir=$(dirname "$scenario")
work="$workroot/$name"
rm -rf "$work"
mkdir -p "$work/PlugIns"
cp "$bin/Velmora.dll" "$work/PlugIns/"

lang=$(sed -n 's/^#! lang \([A-Za-z0-9_.@-]*\)$/\1/p' "$scenario" | head -n 1)
export LANG=${lang:-ja_JP.UTF-8} LC_ALL=${lang:-ja_JP.UTF-8} WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$workroot/../wineprefix}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
if [ -n "${VELMORA_SCENARIO_SETUP:-}" ]; then :; fi
[ -f "$dir/$name.setup" ] && bash "$dir/$name.setup" "$work" "$bin"

run=(wine "$bin/$hostexe" "$(winepath -w "$scenario")" "$(winepath -w "$work")" "$(winepath -w "$work/transcript.txt")")
# Wine's helper processes inherit standard output: write it to a file, never a pipe.
play() {
  status=0
  if [ -n "${DISPLAY:-}" ]; then
    "${run[@]}" >"$work/wine.out" 2>&1 || status=$?
  else
    # A wineserver left from a run on another display would draw nowhere: start afresh.
    wineserver -k 2>/dev/null || true
    xvfb-run -a "${run[@]}" >"$work/wine.out" 2>&1 || status=$?
  fi
}
play
# The host creates its transcript before anything else, so without one the process never got
# to run: Wine itself failed to start it (seen rarely, exit status unknown, nothing said).
# Nothing of the scenario has happened yet, so it is started once more.
if [ ! -f "$work/transcript.txt" ]; then
  echo "wine exited with $status before the host ran; wine said:"; cat "$work/wine.out"
  echo "starting it once more"
  sleep 2
  play
fi

if [ ! -f "$work/transcript.txt" ]; then
  echo "no transcript; wine exited with $status and said:"; cat "$work/wine.out"; exit 1
fi
# A transcript that shows the scenario going wrong is never an expectation, whatever the mode:
# failed lines, answers nobody asked for, host buffers the plug-in kept, boxes nobody answered.
if grep -nE '^(error: |unused answers: |unused dialog actions: |buffers not freed: )|\(unscripted: ' \
  "$work/transcript.txt"; then
  echo "the transcript records the faults above"; exit 1
fi
if [ "$(tail -n 1 "$work/transcript.txt")" != end ]; then
  echo "the transcript does not end with \"end\":"; tail -n 3 "$work/transcript.txt"; exit 1
fi
# Everything after the last line (the plug-in's unload, the process's exit) shows only here.
if [ "$status" -ne 0 ]; then
  echo "the host exited with $status; wine said:"; cat "$work/wine.out"; exit 1
fi
# Packed sizes in archive listings are checked against the archives themselves and masked, so
# that another deflate in the stand-in archivers needs no new expectation.
python3 "$(dirname "$0")/listed_sizes.py" "$work" >"$work/transcript.masked"
expected="$dir/$name.expected"
if [ ! -f "$expected" ] && [ "${VELMORA_NO_EXPECTED:-0}" = 1 ]; then
  :
elif [ "${VELMORA_UPDATE_EXPECTED:-0}" = 1 ]; then
  cp "$work/transcript.masked" "$expected"
else
  diff -u "$expected" "$work/transcript.masked"
fi
[ -f "$dir/$name.check" ] && bash "$dir/$name.check" "$work" "$bin"
exit 0
