#!/usr/bin/env bash
# Installs what is missing, builds and starts Leistenwerk.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/default/app/leistenwerk
