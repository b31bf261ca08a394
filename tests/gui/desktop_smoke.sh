#!/usr/bin/env bash
# strixel-desktop on a virtual X display, in a home of its own: it shows its
# splash, then its menu bar, its main window and the help page; a click on the
# File title opens the menu and a second click closes it; Escape closes the
# help window and the Help menu opens it again; File > Quit ends the program
# with status 0 and the settings written. Every wait is bounded.
#   tests/gui/desktop_smoke.sh PATH-TO-strixel-desktop
set -euo pipefail
program=${1:?usage: desktop_smoke.sh PATH-TO-strixel-desktop}
if [ -z "${STRIXEL_SMOKE_INNER:-}" ]; then
    # A display of our own (works as root without one).
    exec env STRIXEL_SMOKE_INNER=1 bash "$(dirname "$0")/virtual_display.sh" 80 "$0" "$program"
fi

home=$(mktemp -d /tmp/strixel-smoke-XXXXXX)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"

# wait_window and wait_gone are the other desktop tests' own.
# shellcheck source=tests/gui/gui_lib.sh
. "$(dirname "$0")/gui_lib.sh"

# (after it: this test fails in its own words)
fail() {
    echo "desktop smoke: $*" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
}

# Where the menus are: the titles in the bar, and items of open menus.
file_title="78 10"
help_title="336 10"
help_page_item="376 100"
quit_item="140 220"

export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
QT_QPA_PLATFORM=xcb "$program" &
pid=$!

wait_window '^About Strixel$' >/dev/null || fail "no splash"
wait_window '^Menu bar$' >/dev/null || fail "no menu bar"
wait_window '^Strixel$' >/dev/null || fail "no main window"
wait_window '^Strixel Help$' >/dev/null || fail "no help page at the first start"
wait_gone '^About Strixel$' || fail "the splash stayed"

# shellcheck disable=SC2086
xdotool mousemove $file_title click 1
wait_window '^File$' >/dev/null || fail "a click on the File title opened no menu"
# shellcheck disable=SC2086
xdotool mousemove $file_title click 1
wait_gone '^File$' || fail "the File menu stayed open"

# No window manager here: the help window is given the keyboard by hand.
help=$(xdotool search --onlyvisible --name '^Strixel Help$' | head -1)
xdotool mousemove 700 400 windowfocus "$help" key Escape
wait_gone '^Strixel Help$' || fail "Escape did not close the help window"
# shellcheck disable=SC2086
xdotool mousemove $help_title click 1
wait_window '^Help$' >/dev/null || fail "a click on the Help title opened no menu"
# shellcheck disable=SC2086
xdotool mousemove $help_page_item click 1
wait_window '^Strixel Help$' >/dev/null || fail "the Help menu did not open the help window"

# shellcheck disable=SC2086
xdotool mousemove $file_title click 1
wait_window '^File$' >/dev/null || fail "the File menu did not open for Quit"
# shellcheck disable=SC2086
xdotool mousemove $quit_item click 1
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then fail "File > Quit did not end the program"; fi
set +e
wait "$pid"
status=$?
set -e
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ -s "$XDG_CONFIG_HOME/strixel/strixel6.def" ] || fail "no settings written at quit"
echo "desktop smoke: ok"
