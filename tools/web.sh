#!/usr/bin/env bash
# Builds the web player and the demo game as a web page: build-web/ becomes a static folder
# (index.html, vorn.js, vorn.wasm, the fonts, the music synthesiser and its soundfont, and the
# demo packed as game.tar.gz) that any web server can serve. Installs what is missing first.
#
# Everything that is slow to make is kept in build-web/.cache and made again only when its
# inputs change: the libraries (tools/web_libs.sh), the npm packages and the player's own build
# tree.
#
#   bash tools/web.sh          then e.g.  python3 -m http.server -d build-web  and open the page
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache=$root/build-web/.cache
player=$cache/player
jobs=$(nproc)
jobs=$((jobs > 2 ? 2 : jobs))
export NODE_PATH=/usr/share/nodejs EMCC_SKIP_SANITY_CHECK=1

echo "vorn: checking the packages the web build needs"
web_packages=(emscripten dpkg-dev chromium)
command -v npm >/dev/null || web_packages+=(npm)
bash tools/setup.sh "${web_packages[@]}"

# The desktop build's vorn-data packs the game; the demo game is built there too.
echo "vorn: building vorn-data and the demo game in build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_WERROR=ON >/dev/null
cmake --build build -j"$jobs" --target vorn-data demo-game vorn-cp932-tables
# The web build's C library converts no cp932: the player takes tables measured from this one.
mkdir -p "$cache"
build/vorn-cp932-tables "$cache/cp932_tables.cpp.new"
if cmp -s "$cache/cp932_tables.cpp.new" "$cache/cp932_tables.cpp"; then
  rm "$cache/cp932_tables.cpp.new"
else
  mv "$cache/cp932_tables.cpp.new" "$cache/cp932_tables.cpp"
fi

bash tools/web_libs.sh "$cache"

# The music synthesiser (and the browser tests' driver) from npm, as the lock file pins them.
npm_dir=$cache/npm
if ! cmp -s tools/web/package-lock.json "$npm_dir/package-lock.json" || [ ! -d "$npm_dir/node_modules" ]; then
  echo "vorn: installing the npm packages"
  mkdir -p "$npm_dir"
  cp tools/web/package.json tools/web/package-lock.json "$npm_dir/"
  (cd "$npm_dir" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
fi

echo "vorn: building the web player"
if [ -z "${EM_CACHE:-}" ] && [ ! -w /usr/share/emscripten/cache ]; then
  export EM_CACHE=$cache/emscripten
fi
emcmake cmake -S . -B "$cache/player-build" -DCMAKE_BUILD_TYPE=Release -DVORN_WERROR=ON \
  -DVORN_WEB_LIBS="$cache/libs" -DVORN_CP932_TABLES="$cache/cp932_tables.cpp" >/dev/null
cmake --build "$cache/player-build" -j"$jobs"

# The player's folder: the page, the program, the fonts, the synthesiser and the soundfont.
mkdir -p "$player/fonts"
cp src/platform/web/page/index.html "$cache/player-build/vorn.js" "$cache/player-build/vorn.wasm" "$player/"
synth=$npm_dir/node_modules/js-synthesizer
cp "$synth/dist/js-synthesizer.min.js" "$synth/dist/js-synthesizer.worklet.min.js" "$player/"
cp "$(ls "$synth"/externals/libfluidsynth-*.js | grep -v with-libsndfile | sort -V | tail -1)" "$player/libfluidsynth.js"
cp /usr/share/sounds/sf2/TimGM6mb.sf2 "$player/soundfont.sf2"
# The whole fonts: `vorn-data web` cuts them for each page. It also takes the characters of the
# player's own texts (every one is written in its sources), which every game's page needs.
cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf \
  /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf "$player/fonts/"
python3 - "$player/program-characters.txt" src <<'EOF'
import pathlib, sys
characters = set()
for path in sorted(pathlib.Path(sys.argv[2]).rglob("*")):
    if path.suffix in (".cpp", ".h"):
        characters.update(c for c in path.read_text(encoding="utf-8") if ord(c) > 0x7F)
open(sys.argv[1], "w", encoding="utf-8").write("".join(sorted(characters)))
EOF

build/vorn-data web build/games/demo build-web "$player"
echo "vorn: the web page is in build-web/ (serve it, e.g. python3 -m http.server -d build-web 8000)"
