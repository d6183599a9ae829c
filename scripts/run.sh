#!/usr/bin/env bash
# Builds Quelmora and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quelmora quelmora-ft
exec build/src/quelmora "$@"
