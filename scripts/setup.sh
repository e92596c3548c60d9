#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need (only those missing), then configures
# and builds the game, its tests and tools in ./build (Release, two jobs).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libbullet-dev libtinyxml-dev libboost-dev libglfw3-dev libglew-dev libdevil-dev freeglut3-dev libglu1-mesa-dev
  zlib1g-dev libx11-dev libopenal-dev libsndfile1-dev sox
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils desktop-file-utils lintian
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
