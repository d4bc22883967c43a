#!/usr/bin/env bash
# Builds the libFuzzer harnesses (preset "fuzz": clang with ASan and UBSan) and
# runs each one on a copy of its seed corpus. A crash, a leak, running out of
# memory or a time-out makes the script fail; the input that caused it is kept
# in build/fuzz/funde/.
# Usage: scripts/fuzz.sh [seconds per harness, default 120]
set -euo pipefail
cd "$(dirname "$0")/.."

sekunden="${1:-120}"
if ! [[ "$sekunden" =~ ^[1-9][0-9]*$ ]]; then
  echo "Aufruf: scripts/fuzz.sh [Sekunden je Harness]" >&2
  exit 2
fi
harnesse=(fuzz_bild fuzz_import fuzz_merge fuzz_seitennamen fuzz_zeichensatz fuzz_inhalt)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null

lauf=build/fuzz/lauf
funde=build/fuzz/funde
rm -rf "$lauf"
mkdir -p "$lauf" "$funde"

# libFuzzer stops at the first finding and reports it itself; leaks are
# looked for after every input.
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

fehlgeschlagen=()
for h in "${harnesse[@]}"; do
  programm="build/fuzz/fuzz/$h"
  korpus="$lauf/$h"
  cp -r "fuzz/korpus/$h" "$korpus"
  protokoll="$lauf/$h.log"
  echo "== $h: $sekunden s"
  status=0
  "$programm" -max_total_time="$sekunden" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -report_slow_units=2 -artifact_prefix="$funde/$h-" \
    "$korpus" >"$protokoll" 2>&1 || status=$?

  wert() { sed -n "s/^stat::$1: *//p" "$protokoll" | tail -1; }
  ausfuehrungen="$(wert number_of_executed_units)"
  speicher="$(wert peak_rss_mb)"

  # The slowest input of the grown corpus, timed one by one after the run.
  langsamste="$(find "$korpus" -type f -print0 |
    xargs -0 -r "$programm" -rss_limit_mb=2048 -timeout=10 2>&1 |
    sed -n 's/^Executed \(.*\) in \([0-9]*\) ms$/\2 \1/p' | sort -n | tail -1)" || true

  echo "   Ausführungen:      ${ausfuehrungen:-?}"
  echo "   Speicher (Spitze): ${speicher:-?} MB"
  echo "   Langsamste Eingabe: ${langsamste:+${langsamste%% *} ms, ${langsamste#* }}"
  if ((status != 0)); then
    echo "   FEHLER (Rückgabe $status):"
    grep -E "^(==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)" \
      "$protokoll" | head -20 | sed 's/^/   /'
    fehlgeschlagen+=("$h")
  fi
done

if ((${#fehlgeschlagen[@]})); then
  echo "Fuzzing fand Fehler in: ${fehlgeschlagen[*]} (Protokolle in $lauf, Eingaben in $funde)" >&2
  exit 1
fi
echo "Fuzzing ohne Befund."
