#!/usr/bin/env bash
# Sets everything up, then starts the game as the installed launcher does: without a number the front
# end, from the build folder, where the build generates circuit 0's media (other circuits go to the
# user's cache); with a number that circuit's race at once: circuit 0 from the build folder, any
# other from a folder of its own under build/circuits/, which the media generator makes current
# first (generating the circuit when it is missing or another build of the generator wrote it,
# safely beside other starts). When it cannot, circuit 0 starts instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 1 ] || { [ $# -eq 1 ] && ! [[ "$1" =~ ^[0-9]{1,5}$ ]]; }; then
  echo "usage: scripts/play.sh [circuit, a whole number from 0 to 99999]" >&2
  exit 2
fi
scripts/setup.sh
root="$PWD"
if [ $# -eq 0 ]; then
  cd build
  exec "$root/build/vorbel-race" --front-end
fi
circuit=$((10#$1))
folder=build
if [ "$circuit" -ne 0 ]; then
  if build/vorbel-mediagen --ensure "build/circuits/$circuit/media" "$circuit"; then
    folder="build/circuits/$circuit"
  else
    echo "play.sh: starting circuit 0 instead of circuit $circuit" >&2
  fi
fi
cd "$folder"
exec "$root/build/vorbel-race"
