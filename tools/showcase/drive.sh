#!/usr/bin/env bash
# Drives the showcase like a person would, in a virtual X screen, and takes screenshots:
#   xvfb-run -a -s "-screen 0 800x600x24" tools/showcase/drive.sh build/showcase out-folder
# It hovers and presses the button, opens the dialog, drags it, answers it, and prints what the
# showcase wrote. Needs xdotool and ImageMagick (scripts/deps.sh installs them).
set -euo pipefail
program=${1:-build/showcase}
out=${2:-/tmp/showcase-shots}
mkdir -p "$out"
log="$out/showcase.log"

"$program" >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 50); do
  window=$(xdotool search --name "Zarvo Showcase" 2>/dev/null | head -1 || true)
  [[ -n "$window" ]] && grep -q "all resources loaded" "$log" && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "no showcase window"; cat "$log"; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y of the client area
at() { xdotool mousemove $((X + $1)) $((Y + $2)); sleep 0.3; }
shot() { import -window root "$out/$1.png"; }

at 300 470; shot 1-screen
at 580 455; shot 2-button-hover
xdotool mousedown 1; sleep 0.3; shot 3-button-pressed
xdotool mouseup 1; sleep 0.5; shot 4-dialog-open
at 580 455; shot 5-button-blocked-under-dialog
# The dialog sits centred, its top at a fifth of the height: drag it by its top edge.
at 320 107
xdotool mousedown 1
for i in $(seq 10); do xdotool mousemove $((X + 320 - i * 10)) $((Y + 107 + i * 15)); sleep 0.05; done
sleep 0.3
xdotool mouseup 1; sleep 0.3; shot 6-dialog-dragged
# Its first button ("YES") lies in its lower left, 150 px further down after the drag.
at 150 400; shot 7-yes-hover
xdotool click 1; sleep 0.5; shot 8-dialog-closed
grep -v '^ALSA' "$log" || true
