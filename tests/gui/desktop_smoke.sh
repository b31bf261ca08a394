#!/usr/bin/env bash
# strixel-desktop on a virtual X display: it shows its menu bar and its main
# window, a click on the File title opens the menu, a second click closes it,
# and Ctrl-Q ends the program with status 0. Every wait is bounded.
#   tests/gui/desktop_smoke.sh PATH-TO-strixel-desktop
set -euo pipefail
program=${1:?usage: desktop_smoke.sh PATH-TO-strixel-desktop}
if [ -z "${STRIXEL_SMOKE_INNER:-}" ]; then
    # A display of our own (-a picks a free number; works as root without one).
    exec env STRIXEL_SMOKE_INNER=1 timeout 80 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program"
fi

fail() {
    echo "desktop smoke: $*" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
}

# Waits (at most 10 s) for a visible window whose name matches $1.
wait_window() {
    for _ in $(seq 50); do
        if xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; then return 0; fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended early"
        sleep 0.2
    done
    return 1
}

export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
QT_QPA_PLATFORM=xcb "$program" &
pid=$!

wait_window '^Menu bar$' || fail "no menu bar"
wait_window '^Strixel$' || fail "no main window"

# The File title is the first, 10 pixels from the screen's left edge.
xdotool mousemove 24 10 click 1
wait_window '^File$' || fail "a click on the File title opened no menu"
xdotool mousemove 24 10 click 1
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^File$' >/dev/null 2>&1 || break
    sleep 0.2
done
xdotool search --onlyvisible --name '^File$' >/dev/null 2>&1 && fail "the File menu stayed open"

# Keys go to the window under the pointer (no window manager here).
xdotool mousemove 300 200
xdotool key ctrl+q
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then fail "Ctrl-Q did not end the program"; fi
set +e
wait "$pid"
status=$?
set -e
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "desktop smoke: ok"
