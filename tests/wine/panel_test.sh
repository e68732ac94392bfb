#!/usr/bin/env bash
# The Windows program under wine64: the panel opens at its place in its
# starting state, and Esc and the close box each close it with exit code 0.
# usage: panel_test.sh SOLVANE.exe panel_probe.exe ARTIFACT_DIR
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
exe=$1 probe=$2 artifacts=$3
mkdir -p "$artifacts"
ensure_prefix

expected="place as-template
resizable 0
minimize_box 0
close_box 1
play enabled
stop disabled
loop 0
focus 101
text 101 
text 102 
text 103 
text 106 
text 107 
text 114 100
text 115 100
text 116 100"

wine "$exe" &
pid=$!
window=$(wait_for_panel)
state=$(wine "$probe" | tr -d '\r')
if [ "$state" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$state") >&2 || true
  kill "$pid"
  exit 1
fi
import -window root -crop 560x140+0+0 "$artifacts/wine-panel.png"
xdotool windowfocus --sync "$window" key Escape
expect_exit "$pid" 0

wine "$exe" &
pid=$!
window=$(wait_for_panel)
eval "$(xdotool getwindowgeometry --shell "$window")"
# Wine draws the frame itself: the close box sits at the caption's right end.
xdotool mousemove --sync $((X + WIDTH - 12)) $((Y + 9)) click 1
expect_exit "$pid" 0
echo "panel opened in its starting state; Esc and the close box closed it"
