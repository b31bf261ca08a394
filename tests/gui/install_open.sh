#!/usr/bin/env bash
# The installed program as a file manager starts it: the build installed into a
# temporary prefix, the MIME and desktop databases brought up to date, and
# xdg-open on a label document opens it in strixel-desktop's window of its
# name; --quit then ends the program with status 0. Every wait is bounded.
#   tests/gui/install_open.sh BUILD-DIR
set -euo pipefail
build=$(realpath "${1:?usage: install_open.sh BUILD-DIR}")
if [ -z "${STRIXEL_SMOKE_INNER:-}" ]; then
    exec env STRIXEL_SMOKE_INNER=1 bash "$(dirname "$0")/virtual_display.sh" 80 "$0" "$build"
fi

work=$(mktemp -d)
cleanup() {
    # Only the copy this test started: its runtime folder is the test's own.
    if [ "${XDG_RUNTIME_DIR:-}" = "$work/runtime" ] && [ -x "$work/prefix/bin/strixel-desktop" ]; then
        timeout 10 "$work/prefix/bin/strixel-desktop" --quit >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "install open: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install"
[ -x "$work/prefix/bin/strixel-desktop" ] || exit 0  # built without the desktop program
update-mime-database "$work/prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
update-desktop-database "$work/prefix/share/applications" || fail "update-desktop-database"

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/runtime XDG_DATA_DIRS=$work/prefix/share:/usr/share
export PATH=$work/prefix/bin:$PATH QT_QPA_PLATFORM=xcb
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The oldest form of a label document, its sheet alone (little-endian words:
# margins, 3 x 8 labels of 180 x 100 points, shape 1, a white ground, no item,
# an A4 sheet in tenths of a point).
le() { local v=$1 n=$2 out="" i
    for ((i = 0; i < n; i++)); do out+=$(printf '\\x%02x' $(((v >> (8 * i)) & 255))); done
    printf '%s' "$out"; }
doc=""
for v in 20 20 3 8 0 0 180 100; do doc+=$(le "$v" 4); done
doc+=$(le 1 2)$(le 0 2)$(le 65535 4)$(le 65535 4)$(le 65535 4)$(le 65535 2)$(le 0 2)
doc+=$(le 5950 4)$(le 8420 4)
printf "$doc" > "$work/opened.labl"

[ "$(xdg-mime query default application/x-strixel-label)" = strixel.desktop ] ||
    fail "strixel.desktop is not the label document's program"
xdg-open "$work/opened.labl" >/dev/null 2>&1 &
for _ in $(seq 75); do
    xdotool search --onlyvisible --name '^opened\.labl$' >/dev/null 2>&1 && break
    sleep 0.2
done
xdotool search --onlyvisible --name '^opened\.labl$' >/dev/null 2>&1 ||
    fail "xdg-open did not open the document in strixel-desktop"
timeout 20 strixel-desktop --quit || fail "the running program did not take --quit"
echo "install open: ok"
