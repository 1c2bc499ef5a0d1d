#!/usr/bin/env bash
# Plays the demo scenarios and checks that every picture the README and the guide use comes out
# and shows something: a window that was photographed before it painted is one or two flat colours.
#   check_demo_pictures.sh <bin folder> <demo scenario folder> <work root>
set -euo pipefail
bin=$1 demo=$2 work=$3
rm -rf "$work"
for scenario in "$demo"/*.scn; do
  VELMORA_NO_EXPECTED=1 bash "$(dirname "$0")/run_scenario.sh" "$bin" bkhost.exe "$scenario" "$work"
done
status=0
for name in settings size-question password compose-after-drop paste-dialog winmail-before winmail-after; do
  picture=$(ls "$work"/*/"$name.bmp" 2>/dev/null | head -1)
  if [ -z "$picture" ]; then echo "missing picture $name"; status=1; continue; fi
  colours=$(identify -format '%k' "$picture")
  if [ "$colours" -lt 8 ]; then echo "picture $name has only $colours colours"; status=1; fi
  # The PNG the demo writes of it is the same file whenever it is written.
  bash "$(dirname "$0")/../../scripts/demo-picture" "$picture" "$work/$name.png"
  sleep 1
  bash "$(dirname "$0")/../../scripts/demo-picture" "$picture" "$work/$name.again.png"
  if ! cmp -s "$work/$name.png" "$work/$name.again.png"; then
    echo "picture $name: two PNGs of one window differ"; status=1
  fi
done
[ "$status" = 0 ] && echo "demo pictures present"
exit "$status"
