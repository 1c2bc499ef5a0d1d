#!/usr/bin/env bash
# A configure and a build with nothing changed do nothing: no header rewritten, nothing relinked
# (a relinked DLL would be a new file for every tool that watches it).
#   check_rebuilds_nothing.sh <source folder> <build folder>
set -euo pipefail
src=$1 bin=$2
cmake -S "$src" -B "$bin" >/dev/null
# A real build: a dry run cannot tell, as it never runs the check of globbed folders.
done=$(ninja -C "$bin" 2>&1)
if grep -qE '^\[[0-9]+/[0-9]+\] (Building|Linking|Generating|Writing|Re-running)' <<<"$done"; then
  echo "a build with nothing changed ran:"; grep -E '^\[' <<<"$done"; exit 1
fi
echo "nothing rebuilt"
