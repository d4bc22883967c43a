#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal build, a
# short run of every fuzzer, and the whole suite again under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --test
export QT_QPA_PLATFORM=offscreen
ctest --preset default -j2

# Bounded; scripts/fuzz.sh without an argument searches longer.
scripts/fuzz.sh 20

# The whole suite under ASan and UBSan, leaks included (with the Qt
# suppressions of scripts/lsan-qt.supp). The browser checks are left out: they
# only read the files the normal run has checked already.
cmake --preset asan
cmake --build --preset asan -j2
ctest --preset asan -j2 -LE browser
