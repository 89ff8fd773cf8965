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
# sampled about a hundred times a second of wall time without starting a process per sample, each
# sample stamped with the virtual time the run's transcript has reached. A run's start-up (its
# samples before the virtual clock first moves: fonts, pictures and the database being loaded) is
# left out; of the rest, the highest memory of the later half of the samples is compared with the
# highest of the earlier half. Exit status 0 when every run ended with exit code 0, no
# `error` line was written, at least one run had ten samples after its start-up, and in no such run
# the memory grew by more than 8 MiB. With VORN_SOAK_MEMORY=optional (the short run of the tests) a
# stretch too short or a machine too busy for ten samples is told, not failed. A sanitizer build (AddressSanitizer holds freed memory back
# for a while) is not judged on memory; it is told by its runtime's symbols, whether the runtime
# is linked dynamically (gcc) or into the binary (clang).
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
# A pause without a process of its own: a read that times out on a pipe nobody writes to.
exec {sleeper}<> <(:)
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
    rm -f "$work/transcript$run.txt"
    "$build/vorn" "$work/game" --headless --seed $((seed + run)) --input "$work/input$run.txt" \
        --transcript "$work/transcript$run.txt" 2>"$work/stderr$run.txt" &
    pid=$!
    transcript=""
    virtual=0
    while kill -0 $pid 2>/dev/null; do
        # The transcript is made by the player at start (a new file in place of any old one);
        # once it stands there it is read as it grows, for the virtual time of its last line.
        if [ -z "$transcript" ] && [ -f "$work/transcript$run.txt" ]; then
            exec {transcript}<"$work/transcript$run.txt"
        fi
        if [ -n "$transcript" ]; then
            while IFS=$'\t' read -r -u "$transcript" stamp _; do virtual=$stamp; done
        fi
        rss=""
        while read -r key value _; do
            [ "$key" = VmRSS: ] && rss=$value && break
        done 2>/dev/null </proc/$pid/status || true
        [ -n "$rss" ] && echo "$run $virtual $rss" >>"$samples"
        read -r -t 0.01 -u "$sleeper" || true
    done
    [ -n "$transcript" ] && exec {transcript}<&-
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
# Memory per run after its start-up: the highest of each half of its samples; the run with the
# most samples is reported, and the run that grew most.
report=$(awk '
    { if ($3 > peak) peak = $3 }
    $2 > 0 { n[$1]++; v[$1, n[$1]] = $3 }
    END {
        for (r in n) {
            e = 0; l = 0
            for (i = 1; i <= n[r]; i++) {
                if (i * 2 <= n[r]) { if (v[r, i] > e) e = v[r, i] }
                else if (v[r, i] > l) l = v[r, i]
            }
            if (n[r] >= 10) { judged++; if (l - e > grow || !gr) { grow = l - e; gr = r } }
            if (n[r] > most) { most = n[r]; mr = r; me = e; ml = l }
        }
        printf "%d %d %d %d %d %d %d %d\n", mr, most, me, ml, peak, grow + 0, gr + 0, judged + 0
    }' "$samples")
read -r longest count early late peak grow growRun judged <<<"$report"
echo "soak: $total s of virtual time in $wall s of wall time, $run run(s), seed $seed"
echo "soak: longest run $longest ($count samples after start-up): highest resident memory $early KiB in" \
    "its first half, $late KiB in its second; largest $peak KiB; $judged run(s) judged, most growth in a run:" \
    "$grow KiB (run $growRun)"
if grep -aqE '__(asan|hwasan|msan|tsan)_init' "$build/vorn"; then
    echo "soak: a sanitizer build: memory not judged"
elif [ "$judged" -eq 0 ] && [ "${VORN_SOAK_MEMORY:-}" = optional ]; then
    echo "soak: no run had ten samples after its start-up (a fast run, or a busy machine): memory not judged"
elif [ "$judged" -eq 0 ]; then
    echo "soak: no run had ten samples after its start-up: memory not judged" >&2
    status=1
elif [ "$grow" -gt 8192 ]; then
    echo "soak: memory grew by $grow KiB in run $growRun" >&2
    status=1
fi
exit $status
