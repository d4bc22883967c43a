#!/usr/bin/env bash
# Installs the Debian packages that are missing and builds Leistenwerk.
# Usage: scripts/setup.sh [--test]   (--test also installs what the tests need)
set -euo pipefail
cd "$(dirname "$0")/.."

pakete=(build-essential cmake ninja-build pkg-config
        qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
        libjpeg-dev libgif-dev libpng-dev libcurl4-openssl-dev fonts-wine)
if [[ "${1:-}" == "--test" ]]; then
  pakete+=(libgtest-dev libgmock-dev libxml2-utils w3c-sgml-lib xvfb xauth
           chromium curl clang libclang-rt-14-dev appstream)
  command -v npm >/dev/null || pakete+=(nodejs npm)
fi

fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
done
if ((${#fehlend[@]})); then
  echo "Installiere: ${fehlend[*]}"
  als_root=()
  [[ $(id -u) -ne 0 ]] && als_root=(sudo)
  "${als_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
fi

if [[ "${1:-}" == "--test" ]]; then
  npm ci --prefix tests/browser --no-audit --no-fund --loglevel=error
fi

cmake --preset default
cmake --build --preset default
