#!/usr/bin/env bash
# The main window as a person uses it, in the real strixel-desktop on a virtual
# X display: the data of an EAN-13 (the start code type) typed into the data
# field, EPS chosen from the output pop-up, OK; the preview shows the symbol, a
# click on it brings the save dialog, a typed path answers it, and the file
# written there reads back as the typed data with its check digit.
#   tests/gui/main_window_ok.sh PATH-TO-strixel-desktop
set -euo pipefail
name=main_window_ok
program=${1:?usage: main_window_ok.sh PATH-TO-strixel-desktop}
# shellcheck source=tests/gui/gui_lib.sh
. "$(dirname "$0")/gui_lib.sh"
gui_enter "$@"
gui_start "$program"

# Where things are in the main window (window pixels).
data_field="68 57"
output_box="35 120"
ok_button="67 220"

main=$(wait_window '^Strixel$') || fail "no main window"
# shellcheck disable=SC2086
click_in "$main" $data_field
focus "$main"
xdotool type --delay 20 590123412345
# shellcheck disable=SC2086
choose_from_popup "$main" $output_box Output 133 "EPS 3"

# shellcheck disable=SC2086
click_in "$main" $ok_button
preview=$(wait_window '^Preview$') || fail "OK showed no preview window"
geometry "$preview"
click_in "$preview" $((ww / 2)) $((wh / 2))
eps="$home/typed.eps"
answer_file_dialog '^Save As$' "$eps"
wait_file "$eps" || fail "no file at $eps after the save dialog"
wait_gone '^Preview$' || fail "the preview stayed after delivering"

read=$(read_symbols "$eps")
[ "$read" = "EAN-13:5901234123457" ] || fail "the EPS reads \"$read\", not the typed EAN-13"

quit_program
echo "$name: ok"
