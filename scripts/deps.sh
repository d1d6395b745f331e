#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the data generator need.
# Only what is missing is installed; nothing happens when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  libsdl2-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libogg-dev libvorbis-dev libopenmpt-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  libcairo2-dev libpango1.0-dev fonts-roboto-slab
  xvfb xauth xdotool imagemagick
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
