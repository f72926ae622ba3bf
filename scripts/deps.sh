#!/usr/bin/env bash
# Installs the Debian 12 packages Zyphora builds, runs and tests with; does nothing when all are there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang
  libsdl2-dev libgl-dev libvorbis-dev libdumb1-dev libstb-dev libpng-dev libjpeg62-turbo-dev
  libfreetype-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev libsdl2-mixer-dev
  xvfb xauth xdotool imagemagick sox mesa-utils libgl1-mesa-dri
  xfonts-base  # the fonts SDL draws its X11 message boxes with (tests show real ones)
  desktop-file-utils appstream librsvg2-bin
  dpkg-dev debhelper lintian clang-format
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
