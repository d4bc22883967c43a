#!/usr/bin/env bash
# One browser case: write a site with the given options, then check it in Chromium.
# Usage: pruefen.sh <lw_beispielseite> <name> <fixed> <banner> <graphics> <artifact folder> [import]
set -euo pipefail
werkzeug=$1 name=$2 fixiert=$3 banner=$4 grafik=$5 artefakte=$6 art=${7:-}
hier=$(cd "$(dirname "$0")" && pwd)
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT
mkdir -p "$artefakte"
# The saved site must work on a host that tells capitals from small letters.
touch "$ordner/klein"
if [ -e "$ordner/KLEIN" ]; then echo "FEHLER: $ordner unterscheidet keine Groß- und Kleinbuchstaben" >&2; exit 1; fi
rm "$ordner/klein"
seite=$("$werkzeug" "$ordner" "$fixiert" "$banner" "$grafik" $art)
node "$hier/seite_pruefen.mjs" "$seite" 170 50 "$fixiert" "$banner" "$grafik" \
  "$artefakte/browser-$name.png" $art
