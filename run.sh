#!/usr/bin/env bash
# Builds Zyphora (installing what is missing) and runs it. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target zyphora
exec build/bin/zyphora "$@"
