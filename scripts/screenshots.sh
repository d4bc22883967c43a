#!/usr/bin/env bash
# Saves a picture of every window, to check the layout by eye.
# Usage: scripts/screenshots.sh [target folder] [build folder]
#   defaults: build/bildschirmfotos and build/default
# Without a display it runs on a virtual one (xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
ziel=${1:-build/bildschirmfotos}
bau=${2:-build/default}

if [[ ! -f "$bau/build.ninja" ]]; then
  cmake -S . -B "$bau" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$bau" --target lw_bildschirmfotos
mkdir -p "$ziel"

programm=("$bau/tests/ui/lw_bildschirmfotos" "$ziel")
if [[ -z "${DISPLAY:-}" ]]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "${programm[@]}"
else
  "${programm[@]}"
fi
echo "Bildschirmfotos in $ziel"
