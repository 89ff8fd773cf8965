#!/usr/bin/env bash
# Checks that every source under src/ includes only its own folder and the folders below it:
#
#   platform < data < core < rules < ui < field < script < battle < screens < app
#
# src/platform includes nothing of the game at all. One exception keeps the game state in one
# place: core/context.h aggregates the records of every subsystem, so it (and other records
# headers) may include a records header (`*_state.h`) of any folder; a records header itself
# includes only records headers and the folders platform, data and core. SDL and fontconfig are
# included only by the SDL and web back ends (src/platform/sdl, src/platform/web) and the text
# renderer. The player's entry point (src/app/main.cpp, outside the game core) alone may include
# the data tool's commands: --watch rebuilds the game with the tool's build.
# Prints one line per offending include and exits 1 when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

floors=(platform data core rules ui field script battle screens app)
declare -A rank
for i in "${!floors[@]}"; do rank[${floors[$i]}]=$i; done

# Includes that break the order today and are being moved; each names why it is still here.
# The list is empty when the floors are in order.
known_exceptions=(
)

is_known() {
    local entry
    for entry in "${known_exceptions[@]+"${known_exceptions[@]}"}"; do
        [[ $entry == "$1" ]] && return 0
    done
    return 1
}

failures=0
while IFS= read -r file; do
    rel=${file#src/}
    folder=${rel%%/*}
    own=${rank[$folder]:-}
    if [[ -z $own ]]; then
        echo "$file: folder src/$folder has no place in the floor order"
        failures=$((failures + 1))
        continue
    fi
    base=$(basename "$file")
    records=0
    [[ $base == *_state.h ]] && records=1
    while IFS= read -r line; do
        number=${line%%:*}
        target=$(sed -E 's/^[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$line")
        [[ $target == */* ]] || continue # a header beside the file: its own folder
        [[ $rel == app/main.cpp && $target == vorn-data/commands.h ]] && continue
        to=${target%%/*}
        to_rank=${rank[$to]:-}
        if [[ -z $to_rank ]]; then
            echo "$file:$number: includes \"$target\" outside the floors"
            failures=$((failures + 1))
            continue
        fi
        allowed=1
        if ((to_rank > own)); then
            allowed=0
            if [[ $target == *_state.h ]] && { [[ $rel == core/context.h ]] || ((records)); }; then
                allowed=1
            fi
        elif ((records)) && [[ $target != *_state.h ]] && ((to_rank > rank[core])); then
            # A records header stays plain data: no operations of the game's subsystems.
            allowed=0
        fi
        if ((!allowed)) && ! is_known "$rel:$target"; then
            echo "$file:$number: src/$folder must not include \"$target\""
            failures=$((failures + 1))
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' | sort)

# SDL and the font libraries belong to the SDL and web back ends and the text renderer alone.
while IFS= read -r hit; do
    echo "$hit: only src/platform/sdl, src/platform/web and the text renderer include SDL or fontconfig"
    failures=$((failures + 1))
done < <(git ls-files -co --exclude-standard 'src/*.cpp' 'src/*.h' | grep -v -e '^src/platform/sdl/' -e '^src/platform/web/' -e '^src/platform/text_renderer.cpp$' |
    xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|fontconfig/)' || true)

if ((failures)); then
    echo "check_includes: $failures include(s) break the floor order" >&2
    exit 1
fi
echo "check_includes: floors in order"
