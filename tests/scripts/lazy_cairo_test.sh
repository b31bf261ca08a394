#!/usr/bin/env bash
# The command line starts without cairo and the X libraries behind it, loads
# cairo when a record draws (a TIFF file), and the drawing is whole; without a
# loadable cairo a drawing record ends the run with the reason and leaves no file.
set -euo pipefail
strixel=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ldd "$strixel" | grep -q 'libcairo\|libX11\|libxcb'; then
    echo "strixel links cairo or X at start-up:"; ldd "$strixel"; exit 1
fi

loaded() {  # RECORD: how many times the run loads libcairo
    echo "$1" | LD_DEBUG=files "$strixel" - 2>&1 >/dev/null | grep -c 'file=libcairo\.so\.2 .*dynamically loaded' || true
}

n=$(loaded "{type:\"EAN 13\", data:\"400638133393\", saveto:\"$work/a.eps\"}")
[ "$n" = 0 ] || { echo "an EPS run loaded cairo"; exit 1; }
[ -s "$work/a.eps" ] || { echo "no EPS file"; exit 1; }

n=$(loaded "{type:\"EAN 13\", data:\"400638133393\", saveto:\"$work/a.tif\"}")
[ "$n" = 1 ] || { echo "a TIFF run did not load cairo once ($n)"; exit 1; }
tiffinfo "$work/a.tif" | grep -q 'Image Width' || { echo "the TIFF file does not read"; exit 1; }

# A broken library in the search path: the run says why, exits 70 and leaves nothing.
mkdir "$work/lib" "$work/out"
: > "$work/lib/libcairo.so.2"
set +e
echo "{type:\"EAN 13\", data:\"400638133393\", saveto:\"$work/out/b.tif\"}" |
    LD_LIBRARY_PATH="$work/lib" "$strixel" - > /dev/null 2> "$work/err"
status=$?
set -e
[ "$status" = 70 ] || { echo "exit status $status, not 70"; cat "$work/err"; exit 1; }
grep -q 'the cairo library cannot be loaded' "$work/err" || { echo "no reason given:"; cat "$work/err"; exit 1; }
[ -z "$(ls -A "$work/out")" ] || { echo "files left behind:"; ls -A "$work/out"; exit 1; }
echo ok
