#!/usr/bin/env bash
# One browser case: write a site with the given options, then check it in Chromium.
# With "handy" the same site is written a second time without the phone
# layout, for the comparison at a desktop width.
# Usage: pruefen.sh <lw_beispielseite> <name> <fixed> <banner> <graphics> <artifact folder> [handy] [import]
set -euo pipefail
werkzeug=$1 name=$2 fixiert=$3 banner=$4 grafik=$5 artefakte=$6
shift 6
handy="" import=""
for art in "$@"; do
  case $art in
    handy) handy=handy ;;
    import) import=import ;;
    *) echo "FEHLER: unbekannte Art $art" >&2; exit 2 ;;
  esac
done
hier=$(cd "$(dirname "$0")" && pwd)
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT
mkdir -p "$artefakte"
# The saved site must work on a host that tells capitals from small letters.
touch "$ordner/klein"
if [ -e "$ordner/KLEIN" ]; then echo "FEHLER: $ordner unterscheidet keine Groß- und Kleinbuchstaben" >&2; exit 1; fi
rm "$ordner/klein"
mkdir "$ordner/site"
seite=$("$werkzeug" "$ordner/site" "$fixiert" "$banner" "$grafik" $handy $import)
ohne=()
if [ -n "$handy" ]; then
  mkdir "$ordner/ohne"
  ohne=(ohne "$("$werkzeug" "$ordner/ohne" "$fixiert" "$banner" "$grafik" $import)")
fi
node "$hier/seite_pruefen.mjs" "$seite" 170 50 "$fixiert" "$banner" "$grafik" \
  "$artefakte/browser-$name.png" $import "${ohne[@]}"
