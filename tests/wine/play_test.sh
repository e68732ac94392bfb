#!/usr/bin/env bash
# The Windows program under wine64: Play of a WAV in track 2 enables Stop,
# and the end of the track returns the panel to Idle.
# usage: play_test.sh SOLVANE.exe panel_probe.exe
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
ensure_prefix
exe=$1 probe=$2
files=$(mktemp -d)
trap 'rm -rf "$files"; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
sox -n -r 44100 -c 2 -b 16 "$files/tone.wav" synth 3 sine 440

# Waits up to 15 s for the probe's lines matching $1 to read $2.
await_probe() {
  local state
  for _ in $(seq 150); do
    state=$(wine "$probe" 2>/dev/null | tr -d '\r' | grep -E "$1" | tr '\n' ' ')
    [ "$state" = "$2" ] && return 0
    sleep 0.1
  done
  echo "the panel shows: $state; expected: $2" >&2
  return 1
}

keys() {
  xdotool windowfocus --sync "$window"
  xdotool key --delay 50 "$@"
}

wine "$exe" &
pid=$!
window=$(wait_for_panel)
path="Z:${files//\//\\}\\tone.wav"
await_probe '^focus' "focus 101 "
keys alt+2
xdotool type --delay 20 "$path"
await_probe '^text 102' "text 102 $path "
keys alt+p
await_probe '^(play|stop) ' "play disabled stop enabled "
echo "Play started track 2"
await_probe '^(play|stop) ' "play enabled stop disabled "
echo "the end of the track returned the panel to Idle"
keys Escape
expect_exit "$pid" 0
