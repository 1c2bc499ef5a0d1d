#!/usr/bin/env bash
# Runs one check program under Wine and passes its output and result on.
#   run_wine_check.sh <program.exe> <work folder>
# The output goes through a file: Wine's helper processes inherit standard output and would keep
# a pipe open after the program ends.
set -uo pipefail
exe=$1 work=$2
mkdir -p "$work"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$work/../wineprefix}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
out=$work/$(basename "$exe" .exe).out
wine "$exe" >"$out" 2>&1
result=$?
cat "$out"
exit $result
