#!/usr/bin/env bash
# Builds the libraries the web player links, for WebAssembly with Debian's emscripten, from
# Debian's own source packages: zlib and libpng (pictures), FreeType and SDL2_ttf (text), and SDL2
# (the canvas, keys, pointer and touch). Each is built once, with only the parts the player uses,
# into CACHE/libs; a rerun finds it built (a library is built again only when its line below
# changes). Sound needs none of them: effects and music go to the browser's own audio.
#
#   bash tools/web_libs.sh [CACHE]      (default: build-web/.cache)
#
# The sources come through apt with a sources list of this script's own (CACHE/apt): the
# system's Debian entries as deb-src, so the machine's apt setup is left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
cache=$(realpath -m "${1:-build-web/.cache}")
prefix=$cache/libs
work=$cache/lib-build
mkdir -p "$prefix" "$work"
jobs=$(nproc)
jobs=$((jobs > 2 ? 2 : jobs))
export NODE_PATH=/usr/share/nodejs
# Each emcc run would check its tools' versions again; the configure steps run hundreds.
export EMCC_SKIP_SANITY_CHECK=1
# The emscripten cache of the system is read-only for most users and already holds the C and C++
# runtimes: use it where it can be written, else a copy of its own in the cache folder.
if [ -z "${EM_CACHE:-}" ] && [ ! -w /usr/share/emscripten/cache ]; then
  export EM_CACHE=$cache/emscripten
  [ -d "$EM_CACHE" ] || cp -a /usr/share/emscripten/cache "$EM_CACHE"
fi

# --- Sources -------------------------------------------------------------------------------------
apt_dir=$cache/apt
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")

# The system's Debian entries, as source entries, in a sources list of our own.
make_source_list() {
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    sed -n 's/^deb \(.*\/debian.*\)$/deb-src \1/p' "$list" >>"$apt_dir/sources.list"
  done
  : >"$apt_dir/parts/debian-src.sources"
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    # deb822 stanzas whose URIs are Debian's, with the type made deb-src.
    awk 'BEGIN { RS = ""; ORS = "\n\n" } /URIs:[^\n]*\/debian/ { gsub(/Types:[^\n]*/, "Types: deb-src"); print }' \
      "$list" >>"$apt_dir/parts/debian-src.sources"
  done
  if [ ! -s "$apt_dir/sources.list" ] && [ ! -s "$apt_dir/parts/debian-src.sources" ]; then
    echo "vorn: no Debian entries in /etc/apt to fetch the library sources from" >&2
    exit 1
  fi
  apt-get "${apt_opts[@]}" -qq update
}

# Unpacks Debian's source package $1 (with Debian's patches) into $work/$1 and prints the folder.
source_of() {
  local package=$1 folder=$work/$1
  if [ ! -f "$folder/.unpacked" ]; then
    [ -f "$apt_dir/lists/.updated" ] || { make_source_list && touch "$apt_dir/lists/.updated"; }
    local downloads=$work/downloads/$package
    mkdir -p "$downloads"
    # The newest version, else the release's own (a mirror may lack the newest).
    (cd "$downloads" && { ls ./*.dsc >/dev/null 2>&1 \
      || apt-get "${apt_opts[@]}" -qq source --download-only "$package" >/dev/null 2>&1 \
      || { rm -f ./*; apt-get "${apt_opts[@]}" -qq source --download-only "$package/$codename" >/dev/null; }; })
    rm -rf "$folder"
    dpkg-source --no-check -x "$(ls "$downloads"/*.dsc | head -1)" "$folder" >/dev/null
    touch "$folder/.unpacked"
  fi
  echo "$folder"
}

# --- Builds --------------------------------------------------------------------------------------
flags="-O2"
cmake_common=(-G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_C_FLAGS_RELEASE="$flags -DNDEBUG"
  -DBUILD_SHARED_LIBS=OFF)

# Builds library $1 from source package $2 by the function $3, unless the same line built it.
build() {
  local name=$1 package=$2 how=$3
  local stamp
  stamp="$prefix/.built-$name-$(declare -f "$how" | sha1sum | cut -c1-12)"
  if [ -f "$stamp" ]; then
    return
  fi
  echo "vorn: building $name for the web (from Debian's $package)"
  local folder
  folder=$(source_of "$package")
  local started=$SECONDS
  rm -rf "$work/build-$name"
  mkdir -p "$work/build-$name"
  (cd "$work/build-$name" && "$how" "$folder") >"$work/build-$name.log" 2>&1 || {
    tail -40 "$work/build-$name.log" >&2
    echo "vorn: building $name failed; the whole log is $work/build-$name.log" >&2
    exit 1
  }
  rm -f "$prefix/.built-$name-"*
  touch "$stamp"
  echo "vorn: $name built in $((SECONDS - started)) s"
}

zlib_build() {
  # Only the static library: no examples, no shared library.
  cp -a "$1/." .
  CFLAGS="$flags" emconfigure ./configure --static --prefix="$prefix"
  emmake make -j"$jobs" libz.a
  emmake make install
}

png_build() {
  emcmake cmake "$1" "${cmake_common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF \
    -DPNG_TESTS=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF -Dld-version-script=OFF -DZLIB_ROOT="$prefix"
  emmake make -j"$jobs" install
}

freetype_build() {
  # TrueType outlines and the monochrome rasteriser are what the player draws with; the other
  # font formats' modules stay out of the link because nothing registers them.
  cat >"$1/include/freetype/config/ftmodule.h" <<'EOF'
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
EOF
  emcmake cmake "$1" "${cmake_common[@]}" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  emmake make -j"$jobs" install
}

sdl_build() {
  # The canvas, its events (keys, mouse, touch) and the software renderer; no audio (the page
  # plays sound itself), no joysticks, no OpenGL, no threads.
  emcmake cmake "$1" "${cmake_common[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL2_DISABLE_SDL2MAIN=ON -DSDL2_DISABLE_UNINSTALL=ON -DSDL_AUDIO=OFF -DSDL_JOYSTICK=OFF \
    -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_POWER=OFF -DSDL_SENSOR=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
    -DSDL_FILESYSTEM=OFF -DSDL_LOADSO=OFF -DSDL_THREADS=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF \
    -DSDL_DUMMYVIDEO=OFF -DSDL_OFFSCREEN=OFF -DSDL_DISKAUDIO=OFF -DSDL_DUMMYAUDIO=OFF -DSDL_CCACHE=OFF
  emmake make -j"$jobs" install
}

ttf_build() {
  emcmake cmake "$1" "${cmake_common[@]}" -DSDL2TTF_SAMPLES=OFF -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DFREETYPE_INCLUDE_DIRS="$prefix/include/freetype2" \
    -DFREETYPE_LIBRARY="$prefix/lib/libfreetype.a"
  emmake make -j"$jobs" install
}

build zlib zlib zlib_build
build libpng libpng1.6 png_build
build freetype freetype freetype_build
build sdl2 libsdl2 sdl_build
build sdl2_ttf libsdl2-ttf ttf_build
echo "vorn: the web libraries are in $prefix"
