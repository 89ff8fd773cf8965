#!/usr/bin/env bash
# Runs every libFuzzer target (or those named) for SECONDS each, one after the other, seeded from
# the demo game's files (its data files, and the slot files of its SAV folder when a run has left
# them) and tests/fuzz/seeds, with the inputs of tests/fuzz/regressions first.
#
#   tools/fuzz.sh BUILD_FUZZ SECONDS [TARGET...]
#
# BUILD_FUZZ is a build folder configured with -DCMAKE_CXX_COMPILER=clang++ -DVORN_FUZZ=ON and
# its targets built (`cmake --build BUILD_FUZZ --target fuzz_targets`). The demo game is taken
# from $VORN_DEMO_GAME (default build/games/demo). The corpora grow in BUILD_FUZZ/fuzz-corpus;
# a failing input is written to BUILD_FUZZ/fuzz-findings/<target>/ and the script fails: keep it
# under tests/fuzz/regressions/<target>/ once it is fixed. Each target's final statistics
# (executions, executions per second, coverage) are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:?seconds per target}
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_interpreter fuzz_slot_reader fuzz_record_reader fuzz_database fuzz_bmp
  fuzz_map_file fuzz_script_files fuzz_change_file)
demo=${VORN_DEMO_GAME:-build/games/demo}
seeds="$build/fuzz-seeds"

# Seeds from the demo game: each file with the leading byte its target reads as options.
prefixed() { # prefixed BYTE_IN_OCTAL SOURCE TARGET_FILE
  { printf "\\$1"; cat "$2"; } >"$3"
}
make_seeds() {
  rm -rf "$seeds"
  mkdir -p "$seeds"/{fuzz_interpreter,fuzz_slot_reader,fuzz_record_reader,fuzz_database,fuzz_bmp,fuzz_map_file,fuzz_script_files,fuzz_change_file}
  [ -d "$demo/DAT" ] || { echo "fuzz.sh: no demo game in $demo (build it, or set VORN_DEMO_GAME)" >&2; return; }
  local f name
  for f in "$demo"/DAT/*; do
    name=$(basename "$f")
    prefixed 000 "$f" "$seeds/fuzz_record_reader/n-$name"
    prefixed 377 "$f" "$seeds/fuzz_record_reader/s-$name"
    case "$name" in
    vornM*) prefixed 000 "$f" "$seeds/fuzz_map_file/$name" ;;
    vornE*) prefixed 000 "$f" "$seeds/fuzz_change_file/$name" ;;
    vornTOPN*) prefixed 002 "$f" "$seeds/fuzz_script_files/$name" ;;
    vornTEND*) prefixed 003 "$f" "$seeds/fuzz_script_files/$name" ;;
    vornT*) prefixed 000 "$f" "$seeds/fuzz_script_files/$name" ;;
    esac
  done
  # The database: its eleven files in loading order, split by zero bytes.
  local first=1
  for name in vornINI.DAT vornMAX.DAT vornPLY.DAT vornLEV.DAT vornCTY.DAT vornITM.DAT vornARM.DAT vornEAP.DAT \
    vornATS.DAT vornMGC.DAT vornene.DAT; do
    [ $first = 1 ] || printf '\0'
    first=0
    cat "$demo/DAT/$name"
  done >"$seeds/fuzz_database/demo"
  # Slot files of the demo game (a run of the player leaves them in its SAV folder), behind the
  # header that gives fuzz_slot_reader the demo's table sizes: 0xFF, then the roster's last index,
  # the inventory and spell entries, the maps and the towns (vornMAX.DAT fields 1, 3, 2, 8, 5).
  # tests/fuzz/seeds/fuzz_slot_reader holds slots saved in the demo the same way.
  local sizes
  sizes=$(head -1 "$demo/DAT/vornMAX.DAT" | tr -d '\r' | awk -F, '{ printf "\\%03o\\%03o\\%03o\\%03o\\%03o", $1, $3, $2, $8, $5 }')
  for f in "$demo"/SAV/DATA*.DAT; do
    [ -f "$f" ] || continue
    { printf "\377$sizes"; cat "$f"; } >"$seeds/fuzz_slot_reader/demo-$(basename "$f")"
  done
  # Pictures small enough to mutate quickly.
  find "$demo" -iname '*.bmp' -size -64k -exec cp {} "$seeds/fuzz_bmp/" \;
  # Script lines: the commands of the demo's events, ten to an input.
  grep -ho 'commands: "[^"]*"' games/demo/*.yaml games/demo/maps/*.yaml | sed 's/^commands: "//; s/"$//' |
    split -l 10 - "$seeds/fuzz_interpreter/demo-"
}

make_seeds
status=0
for target in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$target"
  findings="$build/fuzz-findings/$target"
  mkdir -p "$corpus" "$findings"
  echo "== $target: $seconds s"
  inputs=("$corpus" "$seeds/$target")
  for saved in tests/fuzz/seeds/"$target" tests/fuzz/regressions/"$target"; do
    [ -d "$saved" ] && inputs+=("$saved")
  done
  if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "${inputs[@]}" 2>"$build/fuzz-$target.log"; then
    status=1
    echo "   FAILED: see $build/fuzz-$target.log and $findings/"
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$build/fuzz-$target.log" |
    tr '\n' ' ' | sed 's/^/   /'
  grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$build/fuzz-$target.log" | tail -1 | sed 's/^/   /'
done
exit $status
