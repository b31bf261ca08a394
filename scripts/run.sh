#!/usr/bin/env bash
# Installs what is missing, builds the program and runs the main job: symbol
# files made from script records. With arguments, they are passed to strixel
# (records, --dialect=, --post=, --help); without, two samples are made in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTRIXEL_TESTS=OFF -DSTRIXEL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target strixel
if [ $# -gt 0 ]; then
  exec ./build/strixel "$@"
fi
mkdir -p out
./build/strixel \
  "{type:\"EAN 13\", data:\"400638133393\", options:\"52495\", saveto:\"out/ean13.eps\"}" \
  "{type:\"EAN 128\", data:\"(01)1540014128876(17)251231(10)AB1\", saveto:\"out/gs1-128.pdf\"}"
echo "made $(pwd)/out/ean13.eps and $(pwd)/out/gs1-128.pdf"
