#!/usr/bin/env bash
# Installs the Debian packages the player, its tools and its tests need, and the further packages
# named as arguments (tools/web.sh names the web build's), only those missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache clang-format git
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfluidsynth-dev libfontconfig-dev
  fonts-ipafont-gothic fonts-ipafont-mincho timgm6mb-soundfont
  libpng-dev zlib1g-dev libharfbuzz-dev nlohmann-json3-dev libyaml-cpp-dev
  libgtest-dev libgmock-dev gettext
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
