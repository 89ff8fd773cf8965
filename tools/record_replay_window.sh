#!/usr/bin/env bash
# Records a play of the demo game in a real window (a virtual X display, keys sent with xdotool),
# replays the recording headless and compares the two runs' final game state.
#
#   bash tools/record_replay_window.sh [BUILD_DIR] [WORK_DIR]
#
# Needs Xvfb and xdotool. Exit status 0 when both states are the same; the recording, both
# states and a screenshot of the window are left in WORK_DIR.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=${2:-$(mktemp -d)}
mkdir -p "$work"
work=$(cd "$work" && pwd)
rm -rf "$work/a" "$work/b"
cp -r "$build/games/demo" "$work/a"
cp -r "$build/games/demo" "$work/b"

fifo="$work/display"
rm -f "$fifo"
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
player=0
trap 'kill $player $xvfb 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 10 display <"$fifo"
export DISPLAY=:$display

key() { xdotool keydown "$1"; sleep "${2:-0.08}"; xdotool keyup "$1"; }

XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy "$build/vorn" "$work/a" --seed 5 --scale 1 \
    --record "$work/play.txt" --dump-at-end "$work/window.json" 2>"$work/window.err" &
player=$!
# The opening plays to the title; a new game; the mother's words paged through; then a walk
# through the house with a tap shorter than a frame.
sleep 11
key space
sleep 2
for _ in 1 2 3 4 5; do key space 0.05; sleep 1.2; done
key Down 0.6
key Right 0.3
key Left 0.02
key Up 0.4
sleep 0.5
import -window root "$work/window.png" 2>/dev/null || true
# The quit question, answered yes with a click on its first button (the box stands at the same
# place of the 1280 x 1024 display each time).
key Escape
sleep 1
import -window root "$work/question.png" 2>/dev/null || true
xdotool mousemove 975 814 click 1
for _ in $(seq 50); do kill -0 $player 2>/dev/null || break; sleep 0.2; done
wait $player || { echo "the windowed run ended with $?" >&2; exit 1; }

"$build/vorn" "$work/b" --headless --input "$work/play.txt" --dump-at-end "$work/replay.json"
if cmp -s "$work/window.json" "$work/replay.json"; then
    echo "recorded in the window and replayed headless: the same final state ($work)"
else
    diff "$work/window.json" "$work/replay.json" | head -40
    exit 1
fi
