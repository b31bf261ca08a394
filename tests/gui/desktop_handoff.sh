#!/usr/bin/env bash
# Two strixel-desktop processes on a virtual X display: the second hands its
# requests to the first through the socket and ends with 0; a script record
# runs in the first and writes its EPS file (in the second's folder), a label
# document opens in the first copy's window of its name, a wrong
# command line ends the second with 2 without reaching the first, and --quit
# ends the first with status 0 once the script handed with it has run; a
# first copy given --script and --quit runs the script before it ends, and one
# whose script fails says so and ends with 1. Every wait is bounded.
#   tests/gui/desktop_handoff.sh PATH-TO-strixel-desktop
set -euo pipefail
program=$(realpath "${1:?usage: desktop_handoff.sh PATH-TO-strixel-desktop}")
if [ -z "${STRIXEL_SMOKE_INNER:-}" ]; then
    exec env STRIXEL_SMOKE_INNER=1 bash "$(dirname "$0")/virtual_display.sh" 80 "$0" "$program"
fi

work=$(mktemp -d)
runtime=$(mktemp -d /tmp/strixel-handoff-XXXXXX)
chmod 700 "$runtime"
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work" "$runtime"
}
trap cleanup EXIT
fail() {
    echo "desktop handoff: $*" >&2
    exit 1
}

export XDG_RUNTIME_DIR=$runtime
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export QT_QPA_PLATFORM=xcb
"$program" &
pid=$!
for _ in $(seq 50); do
    [ -S "$runtime/strixel-desktop.socket" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the first copy ended early"
    sleep 0.2
done
[ -S "$runtime/strixel-desktop.socket" ] || fail "the first copy does not listen"
[ "$(stat -c %a "$runtime/strixel-desktop.socket")" -le 700 ] || fail "others may reach the socket"

# The record's relative name lands in the second copy's folder.
(cd "$work" && timeout 20 "$program" --script '{type:"EAN 13", data:"400638133393", saveto:"ean.eps"}') ||
    fail "the second copy did not hand over its script"
for _ in $(seq 100); do
    [ -s "$work/ean.eps" ] && break
    sleep 0.2
done
[ -s "$work/ean.eps" ] || fail "the script wrote no EPS file"
head -c 2 "$work/ean.eps" | grep -q '%!' || fail "the script's file is no EPS file"

# A label document handed over opens in the first copy's layout window, named
# after it. The document is the oldest form: its sheet alone (little-endian words:
# margins, 3 x 8 labels of 180 x 100 points, shape 1, a white ground, no item,
# an A4 sheet in tenths of a point).
le() { local v=$1 n=$2 out="" i
    for ((i = 0; i < n; i++)); do out+=$(printf '\\x%02x' $(((v >> (8 * i)) & 255))); done
    printf '%s' "$out"; }
doc=""
for v in 20 20 3 8 0 0 180 100; do doc+=$(le "$v" 4); done
doc+=$(le 1 2)$(le 0 2)$(le 65535 4)$(le 65535 4)$(le 65535 4)$(le 65535 2)$(le 0 2)
doc+=$(le 5950 4)$(le 8420 4)
printf "$doc" > "$work/handed.labl"
timeout 20 "$program" "$work/handed.labl" || fail "the second copy did not hand over its document"
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^handed\.labl$' >/dev/null 2>&1 && break
    sleep 0.2
done
xdotool search --onlyvisible --name '^handed\.labl$' >/dev/null 2>&1 ||
    fail "the handed document's window did not open in the first copy"

set +e
timeout 20 "$program" "$work/missing.labl" 2>/dev/null
status=$?
set -e
[ "$status" -eq 2 ] || fail "a missing document ended the second copy with $status, not 2"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended"

# The quit waits for the script handed over with it.
(cd "$work" && timeout 20 "$program" --script '{type:"Code 128", data:"LAST", saveto:"last.eps"}' \
    --quit) || fail "the quit request was not taken"
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "--quit did not end the first copy"
set +e
wait "$pid"
status=$?
set -e
pid=
[ "$status" -eq 0 ] || fail "the first copy ended with status $status"
[ -s "$work/last.eps" ] || fail "the first copy quit before the script handed with --quit ran"

# With no copy running, the program runs its own script before its own quit
# (in a home of its own: its settings are written at quit).
mkdir -p "$work/home"
(cd "$work" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" QT_QPA_PLATFORM=offscreen \
    timeout 30 "$program" --script '{type:"EAN 13", data:"400638133393", saveto:"own.eps"}' \
    --quit) || fail "the program given --script and --quit ended with $?"
[ -s "$work/own.eps" ] || fail "the program quit before its own script ran"

# A script that fails is reported, and a program with no one to answer its box
# ends with 1 and says why: no abort.
set +e
(cd "$work" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" QT_QPA_PLATFORM=offscreen \
    timeout 30 "$program" --script '{type:"No Such Type", data:"1", saveto:"none.eps"}' \
    --quit) 2>"$work/failed.err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "a failing script ended the program with $status, not 1"
grep -q 'did not run whole' "$work/failed.err" || fail "the failing script was not reported"
echo "desktop handoff: ok"
