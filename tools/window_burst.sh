#!/usr/bin/env bash
# Screenshots of effects too short for single shots (a 50 ms attack frame, a 100 ms flash): runs a
# program in a window on a virtual X display, plays keys into it, and while a `burst` step runs
# grabs the whole display with xwd as fast as it can, keeping every frame.
#
#   bash tools/window_burst.sh OUTDIR SCRIPT -- COMMAND [ARGS...]
#
# SCRIPT steps, one a line (# starts a comment):
#   wait MS | key NAME [MS] | down NAME | up NAME | mouse X Y | shot NAME
#   burst NAME MS   (capture for MS ms into OUTDIR/NAME-NNN.png)
# Needs Xvfb, xdotool, xwd (x11-apps) and ImageMagick.
set -euo pipefail
out=$1
script=$2
shift 2
[ "${1:-}" = "--" ] && shift
mkdir -p "$out"
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 ${BURST_SCREEN:-1100x820}x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
program=0
trap 'kill $program $xvfb 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 10 display <"$fifo"
export DISPLAY=:$display
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$@" &
program=$!
sleep 0.5

burst() {
    local name=$1 until=$(($(date +%s%N) / 1000000 + $2)) n=0
    while [ $(($(date +%s%N) / 1000000)) -lt "$until" ]; do
        xwd -root -silent >"$out/$name-$(printf %03d $n).xwd"
        n=$((n + 1))
    done
    for f in "$out/$name"-*.xwd; do
        convert "xwd:$f" "${f%.xwd}.png" && rm -f "$f"
    done
    echo "$name: $n frames in $2 ms"
}

while IFS= read -r line || [ -n "$line" ]; do
    line=${line%%#*}
    set -- $line
    [ $# -gt 0 ] || continue
    case $1 in
    wait) sleep "$(awk "BEGIN{print $2/1000}")" ;;
    key) xdotool keydown "$2"; sleep "$(awk "BEGIN{print ${3:-80}/1000}")"; xdotool keyup "$2" ;;
    down) xdotool keydown "$2" ;;
    up) xdotool keyup "$2" ;;
    mouse) xdotool mousemove "$2" "$3" ;;
    shot) import -window root "$out/$2.png" ;;
    burst) burst "$2" "$3" ;;
    *) echo "window_burst: unknown step: $line" >&2; exit 3 ;;
    esac
done <"$script"
