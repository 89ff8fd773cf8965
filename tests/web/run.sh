#!/usr/bin/env bash
# The web player's browser test (tests/web/browser_test.cjs) in headless Chromium, on the page
# tools/web.sh built into build-web/. Skipped, with a message, when there is no web build.
#
#   bash tests/web/run.sh [SHOTS_DIR]     SHOTS_DIR: where the title and battle shots are kept
#
# Besides the demo's page it makes a second page with `vorn-data web`: the demo starting on the
# plains beside a certain battle. The canvas at the title is compared with the desktop player's
# headless run of the same seed.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
if [ ! -f build-web/vorn.wasm ] || [ ! -f build-web/game.tar.gz ]; then
  echo "web test skipped: no web build in build-web/ (bash tools/web.sh builds it)"
  exit 0
fi
for needed in build/vorn build/vorn-data build-web/.cache/npm/node_modules/puppeteer-core /usr/bin/chromium; do
  if [ ! -e "$needed" ]; then
    echo "web test: $needed is missing (tools/web.sh installs and builds it)" >&2
    exit 1
  fi
done
shots=${1:+$(realpath -m "$1")}
[ -n "$shots" ] && mkdir -p "$shots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A copy of the built demo without the desktop runs' settings and saves.
copy_demo() {
  cp -r build/games/demo "$1"
  rm -rf "$1/SAV" "$1/vorn.ini"
}

mkdir -p "$work/pages"
ln -s "$root/build-web" "$work/pages/demo"

# The plains game: the demo starting on the plains, where the first step meets a battle.
copy_demo "$work/plains"
cp -r games/demo "$work/plains-source"
python3 - "$work/plains-source" <<'EOF'
import re, sys
source = sys.argv[1]
def edit(name, pattern, to):
    path = f"{source}/{name}"
    text = open(path, encoding="utf-8").read()
    changed, count = re.subn(pattern, to, text, count=1, flags=re.M)
    if count != 1:
        sys.exit(f"{name}: no {pattern}")
    open(path, "w", encoding="utf-8").write(changed)
edit("game.yaml", r"^startMap:.*$", "startMap: 3")
edit("game.yaml", r"^startX:.*$", "startX: 4")
edit("game.yaml", r"^startY:.*$", "startY: 2")
edit("game.yaml", r"^startEvent:.*$", "startEvent: 0")
edit("maps/map003.yaml", r"^  encounterRate: \d+$", "  encounterRate: 100")
EOF
build/vorn-data build "$work/plains-source" "$work/plains" >/dev/null
build/vorn-data web "$work/plains" "$work/pages/plains" build-web/.cache/player >/dev/null

# The desktop player's title, headless with the same seed.
copy_demo "$work/title-game"
printf 'expect 読 60000\nwait 1000\nshot title\n' >"$work/title.timeline"
build/vorn "$work/title-game" --headless --seed 7 --text-speed 0 --input "$work/title.timeline" --shots "$work" >/dev/null

node tests/web/browser_test.cjs --root "$work/pages" --npm "$root/build-web/.cache/npm" --reference "$work/title.png" \
  ${shots:+--shots "$shots"}
