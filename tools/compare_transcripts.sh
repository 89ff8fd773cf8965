#!/usr/bin/env bash
# Runs the tests that start the real player (the headless demo tests and the end-to-end tests of
# start-up, the title and the scripts) once with each of two player binaries and compares the
# transcripts of every run: the same timelines must give the same transcripts.
#   tools/compare_transcripts.sh OLD_PLAYER [NEW_PLAYER] [BUILD_DIR]
# NEW_PLAYER defaults to BUILD_DIR/vorn, BUILD_DIR to build. Exits 1 when a transcript differs.
set -euo pipefail
cd "$(dirname "$0")/.."
old=$(realpath "$1")
build=${3:-build}
new=$(realpath "${2:-$build/vorn}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for side in old new; do
    binary=$old
    [[ $side == new ]] && binary=$new
    # Test failures show up as differences too; the comparison is what counts here.
    for program in test_demo test_app test_ui test_script; do
        VORN_PLAYER_BINARY=$binary VORN_RUN_ARCHIVE=$work/$side "$build/tests/$program" >>"$work/$side.log" 2>&1 || true
    done
    # The game folder is a fresh temporary folder in every run: its path is not part of the
    # comparison.
    sed -i -E 's#/tmp/[^/\\ ]+#TMP#g' "$work/$side"/*.transcript
done
count=$(ls "$work/new" | grep -c '\.transcript$' || true)
if diff -r "$work/old" "$work/new"; then
    echo "compare_transcripts: $count transcripts identical"
else
    echo "compare_transcripts: transcripts differ" >&2
    exit 1
fi
