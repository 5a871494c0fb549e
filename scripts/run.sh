#!/usr/bin/env bash
# Installs what is missing, builds the converter and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_TESTS=OFF
cmake --build build
exec build/app/tarvik "$@"
