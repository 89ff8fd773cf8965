#!/usr/bin/env bash
# A seeded bot that plays the demo game headless with random keys for a stretch of virtual time,
# then checks that the player neither crashed nor stopped with an error dialog, and that its
# memory stayed flat.
#
#   bash tools/soak.sh [BUILD_DIR] [VIRTUAL_SECONDS] [SEED] [WORK_DIR]
#
# Defaults: build, 36000 (ten hours), 1, a new temporary folder. Every second run starts on the
# plain of map 3 with an encounter at every step (a copy built with vorn-data when it is there),
# so that the bot fights too. The quit question Esc brings is left unanswered (a headless box
# answers no); when the game ends by itself (the field menu's quit chosen by the bot, a game
# over, the ending) the bot starts it again with the time that is left. Resident memory is
# sampled five times a second of wall time. Exit status 0 when every run ended with exit code 0,
# no `error` line was written, and in no run of five seconds of wall time or more the memory at
# its end is more than 8 MiB above the memory after the first fifth of its samples (a shorter
# run is mostly start-up).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
total=${2:-36000}
seed=${3:-1}
if [ -n "${4:-}" ]; then
    work=$4
    mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
RANDOM=$seed

# Every second run starts on the plain of map 3, where enemies attack at every step, so that the
# bot fights battles too: a copy of the game built from games/demo with another start.
plain=""
source="$(dirname "$0")/../games/demo"
if [ -x "$build/vorn-data" ] && [ -d "$source" ]; then
    rm -rf "$work/plain" "$work/plain-source"
    cp -r "$source" "$work/plain-source"
    sed -i 's/^startMap:.*/startMap: 3/; s/^startX:.*/startX: 4/; s/^startY:.*/startY: 2/; s/^startEvent:.*/startEvent: 0/' \
        "$work/plain-source/game.yaml"
    sed -i 's/^  encounterRate:.*/  encounterRate: 100/' "$work/plain-source/maps/map003.yaml"
    cp -r "$build/games/demo" "$work/plain"
    rm -rf "$work/plain/DAT"
    "$build/vorn-data" build "$work/plain-source" "$work/plain" >"$work/plain-build.log" 2>&1 && plain="$work/plain"
fi

# Writes a timeline of about $1 virtual seconds of random play.
timeline() {
    local left=$(($1 * 1000)) ms
    local keys=(up down left right up down left right space space space enter ctrl ctrl esc pageup pagedown home end kp2 kp8)
    echo "# soak bot, seed $seed"
    while [ $left -gt 0 ]; do
        local k=${keys[RANDOM % ${#keys[@]}]}
        case $k in
        up | down | left | right) ms=$((40 + RANDOM % 900)) ;;
        *) ms=$((30 + RANDOM % 120)) ;;
        esac
        echo "press $k $ms"
        local pause=$((RANDOM % 400))
        [ $((RANDOM % 50)) -eq 0 ] && pause=$((2000 + RANDOM % 8000)) # now and then the player rests
        echo "wait $pause"
        left=$((left - ms - 60 - pause))
    done
}

status=0
remaining=$total
run=0
samples="$work/rss.txt"
: >"$samples"
start=$(date +%s)
while [ "$remaining" -gt 0 ]; do
    run=$((run + 1))
    rm -rf "$work/game"
    if [ -n "$plain" ] && [ $((run % 2)) -eq 0 ]; then
        cp -r "$plain" "$work/game"
    else
        cp -r "$build/games/demo" "$work/game"
    fi
    timeline "$remaining" >"$work/input$run.txt"
    "$build/vorn" "$work/game" --headless --seed $((seed + run)) --input "$work/input$run.txt" \
        --transcript "$work/transcript$run.txt" 2>"$work/stderr$run.txt" &
    pid=$!
    while kill -0 $pid 2>/dev/null; do
        rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status 2>/dev/null || true)
        [ -n "$rss" ] && echo "$run $(($(date +%s) - start)) $rss" >>"$samples"
        sleep 0.2
    done
    code=0
    wait $pid || code=$?
    last=$(tail -n 1 "$work/transcript$run.txt" | cut -f1)
    if [ "$code" -ne 0 ]; then
        echo "run $run (seed $((seed + run))): exit code $code at $last ms" >&2
        cat "$work/stderr$run.txt" >&2
        status=1
        break
    fi
    if grep -P -q '^\d+\terror\t' "$work/transcript$run.txt"; then
        grep -P '^\d+\terror\t' "$work/transcript$run.txt" >&2
        status=1
    fi
    # A run that ended before its timeline (the game's own end) leaves the rest to the next.
    played=$(((${last:-0} + 999) / 1000))
    [ "$played" -lt 1 ] && played=1
    echo "run $run: $played s of virtual time, $(grep -c -P '\ttext\t' "$work/transcript$run.txt") text lines," \
        "$(grep -c -P '\tbattle\tstart' "$work/transcript$run.txt" || true) battles"
    remaining=$((remaining - played))
done

wall=$(($(date +%s) - start))
# Memory per run: after the first fifth of its samples, at its end, and the largest; the run
# with the most samples is reported.
report=$(awk '
    { n[$1]++; v[$1, n[$1]] = $3; if ($3 > peak) peak = $3 }
    END {
        for (r in n) {
            e = v[r, int(n[r] / 5) + 1]; l = v[r, n[r]]
            if (n[r] >= 25 && l - e > grow) { grow = l - e; gr = r }
            if (n[r] > most) { most = n[r]; mr = r; me = e; ml = l }
        }
        printf "%d %d %d %d %d %d %d\n", mr, most, me, ml, peak, grow + 0, gr + 0
    }' "$samples")
read -r longest count early late peak grow growRun <<<"$report"
echo "soak: $total s of virtual time in $wall s of wall time, $run run(s), seed $seed"
echo "soak: longest run $longest ($count samples): resident memory $early KiB after a fifth, $late KiB at" \
    "the end; largest $peak KiB; most growth in a run: $grow KiB (run $growRun)"
# AddressSanitizer holds freed memory back for a while, so a sanitizer build's memory is not judged.
if ldd "$build/vorn" 2>/dev/null | grep -q libasan; then
    echo "soak: a sanitizer build: memory not judged"
elif [ "$grow" -gt 8192 ]; then
    echo "soak: memory grew by $grow KiB in run $growRun" >&2
    status=1
fi
exit $status
