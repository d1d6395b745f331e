#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (nothing else) and starts it. Arguments
# go to the game.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "${JOBS:-2}" --target kelvane gamedata
exec ./build/kelvane "$@"
