#!/usr/bin/env bash
# Builds the benchmark programs in release mode (build/bench) and measures the
# goals, each side by side with its reference in one run, alternating:
#   1. importing the start page and 50 pages of 200 KiB from the loopback
#      provider against one curl process fetching them over one connection,
#      and the import's text work on those pages against seven memmem calls
#      per page,
#   2. saving an imported site of 100 pages of 1 MiB contents, and a new site
#      of 100 pages of 100 KiB of the contents editor's text, each against
#      cp -r of the same bytes,
#   3. merge and contents cut at 10, 20 and 40 MiB: time and peak memory,
#   4. start-up and peak memory against a minimal Qt window with a label
#      (under Xvfb),
#   5. the longest gap between two download call-backs while the server
#      stalls for 10 s (no reference),
#   6. opening a saved site of 100 pages of 1 MiB and saving it in place,
#      backup included, against cp -r of that site,
#   7. publishing 500 files (50 MiB) to loopback servers against lftp's
#      "mirror -R" to vsftpd and OpenSSH's "sftp -b" to sshd; the same through
#      a proxy that delays each direction by 10 ms, for 1500 files of 2 KiB
#      and 190 files of 46 MiB in all; and a second publish after one change,
#      counted by the server,
#   8. the smaller copy of a 24-megapixel JPEG for phones against ImageMagick's
#      "convert -resize" to the same width and quality,
#   9. typing in a link row of a site with 100 pages (under Xvfb, no reference),
#  10. the editor's contents converted to the page's markup, 20 MiB against
#      10 MiB,
#  11. the contents editor with two pages of 1 MiB: switching between them
#      and one key press (offscreen, against fixed limits).
# Prints one verdict line per goal; exit status 0 when every goal was reached.
set -euo pipefail
cd "$(dirname "$0")/.."

bau=build/bench
cmake -S . -B "$bau" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLW_BUILD_BENCH=ON \
  -DLW_BUILD_TESTS=ON -DLW_BUILD_UI=ON >/dev/null
cmake --build "$bau" -j2 --target bench_speichern bench_bearbeiten bench_import bench_text \
  bench_stillstand bench_start bench_start_leistenwerk bench_start_minimal \
  bench_veroeffentlichen bench_verkleinern bench_tippen bench_inhalt bench_editor >/dev/null

# ImageMagick is the reference of the smaller copy; installed here when missing.
if ! dpkg-query -W -f='${Status}' imagemagick 2>/dev/null | grep -q "install ok installed"; then
  echo "Installiere: imagemagick"
  als_root=()
  [[ $(id -u) -ne 0 ]] && als_root=(sudo)
  "${als_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -qq --no-install-recommends \
    imagemagick >/dev/null
fi

for programm in cp curl Xvfb lftp sftp ssh-keygen /usr/sbin/vsftpd /usr/sbin/sshd; do
  command -v "$programm" >/dev/null || { echo "$programm fehlt (scripts/setup.sh --test)"; exit 2; }
done

# The working folders live on the project's disk, not in a RAM-backed /tmp.
arbeit="$PWD/$bau/arbeit"
rm -rf "$arbeit"
mkdir -p "$arbeit"
export TMPDIR="$arbeit"

# One X server for all starts, on a display number it picks itself.
anzeige_datei="$arbeit/anzeige"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$anzeige_datei" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$arbeit"' EXIT
for _ in $(seq 100); do
  [[ -s "$anzeige_datei" ]] && break
  sleep 0.1
done
[[ -s "$anzeige_datei" ]] || { echo "Xvfb ist nicht gestartet"; exit 2; }
export DISPLAY=":$(head -n1 "$anzeige_datei")"

echo "Rechner: $(nproc) Kerne, Last $(cut -d' ' -f1-3 /proc/loadavg);" \
  "Arbeitsordner auf $(df -T "$arbeit" | awk 'NR==2 {print $2}')"
echo

status=0
ergebnisse=()
messen() {
  local ausgabe
  echo "== $1"
  if ausgabe=$("$bau/bench/$2" "${@:3}"); then :; else status=1; fi
  echo "$ausgabe"
  echo
  ergebnisse+=("$(grep -E '\(Ziel höchstens' <<<"$ausgabe" || echo "$2: kein Ergebnis")")
}

messen "1. Import über den lokalen Anbieter" bench_import
messen "2. Speichern einer übernommenen Site auf der Platte" bench_speichern
messen "3. Zusammenführen und Inhaltsschnitt, 10, 20 und 40 MiB" bench_text
messen "4. Start und Speicher unter Xvfb" bench_start
messen "5. Fenster ansprechbar während eines Stillstands des Servers" bench_stillstand
messen "6. Gespeicherte Homepage öffnen und an Ort und Stelle speichern" bench_bearbeiten
messen "7. Veröffentlichen über FTP und SFTP, direkt und über eine Leitung mit 20 ms" bench_veroeffentlichen
messen "8. Verkleinerte Kopie eines Fotos mit 24 Megapixeln" bench_verkleinern
messen "9. Tippen in einer Linkzeile bei 100 Zeilen" bench_tippen
messen "10. Inhalt des Editors in das Markup der Seite" bench_inhalt
messen "11. Inhalts-Editor mit Seiten von 1 MiB" bench_editor

echo "== Zusammenfassung"
printf '%s\n' "${ergebnisse[@]}"
exit "$status"
