#!/usr/bin/env bash
# Installs what is missing, builds the program and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target strixel
mkdir -p out
./build/strixel "$@"
