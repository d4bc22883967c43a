#!/usr/bin/env bash
# One browser case: write a site with the given options, then check it in Chromium.
# Usage: pruefen.sh <lw_beispielseite> <name> <fixed> <banner> <graphics> <artifact folder>
set -euo pipefail
werkzeug=$1 name=$2 fixiert=$3 banner=$4 grafik=$5 artefakte=$6
hier=$(cd "$(dirname "$0")" && pwd)
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT
mkdir -p "$artefakte"
seite=$("$werkzeug" "$ordner" "$fixiert" "$banner" "$grafik")
node "$hier/seite_pruefen.mjs" "$seite" 170 50 "$fixiert" "$banner" "$grafik" "$artefakte/browser-$name.png"
