#!/usr/bin/env bash
# Installs what is missing, builds with the address and undefined-behaviour
# sanitizers and warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${STRIXEL_TEST_BUILD:-build-test}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSTRIXEL_SANITIZE=ON -DSTRIXEL_WERROR=ON >/dev/null
jobs=${STRIXEL_JOBS:-$(nproc)}
cmake --build "$build" -j"$jobs"
cd "$build"
ctest --output-on-failure -j"$jobs"
