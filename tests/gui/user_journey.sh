#!/usr/bin/env bash
# A session with the real strixel-desktop as a user has it, on a virtual X
# display in a home of its own:
#  1. EAN-UCC 13 from the Code Type menu, data and add-on typed, EPS chosen, OK,
#     the preview clicked and the save dialog answered: the EPS decodes with
#     its add-on;
#  2. Code 128 from the menu, a bar-width reduction typed, TIFF chosen: the
#     TIFF decodes;
#  3. a new layout on the A4 3 x 8 sheet of the template list with a serial
#     barcode (1001 to 1005), a text item with the date escape and a
#     rectangle, saved through the save dialog; the print window prints 5
#     labels to a PDF: five serials decode and the text shows today's date;
#  4. quit and start again: the last code type comes back; File > Open on
#     the saved document shows its items.
# The program run is the one `cmake --install` puts into a prefix.
#   tests/gui/user_journey.sh PATH-TO-strixel-desktop
set -euo pipefail
name=user_journey
program=${1:?usage: user_journey.sh PATH-TO-strixel-desktop}
gui_limit=170
# shellcheck source=tests/gui/gui_lib.sh
. "$(dirname "$0")/gui_lib.sh"
gui_enter "$@"
# No printing system to ask: the print dialog's only destination is a PDF file.
export CUPS_SERVER="/nonexistent/strixel-no-cups.sock"
# The program as a user has it: the build installed into a prefix of the test's own.
prefix=$(mktemp -d "/tmp/strixel-$name-prefix-XXXXXX")
if ! cmake --install "$(dirname "$(realpath "$program")")" --prefix "$prefix" >/dev/null; then
    rm -rf "$prefix"
    echo "$name: cmake --install failed" >&2
    exit 1
fi
program=$prefix/bin/strixel-desktop
gui_start "$program"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home" "$prefix"' EXIT

# The Code Type menu's title in the bar.
title_code_type="223 10"
# Main window pixels: the data field, the bar-width reduction field, the
# output pop-up, OK, the serial pane's tab and its start, end, step and length
# fields, and the text item's text field.
data_field="68 57"
bwr_field="75 192"
output_box="35 120"
ok_button="67 220"
serial_tab="51 250"
serial_start="85 36" serial_end="85 76" serial_step="85 97" serial_length="113 118"
text_field="60 85"
# The sheet window's template list (its fifth line: A4 3 x 8) and OK; the tool
# palette's barcode, text and rectangle tools; points of the label (window
# pixels of the layout window, the label starting at 32, 52); the print
# window's label count and Print button; the print dialog's output file field
# and Print button.
sheet_a4_3x8="100 146"
sheet_ok="298 326"
barcode_tool="36 65" text_tool="36 45" rectangle_tool="16 85"
barcode_at="50 62" text_at="150 120" rectangle_at="190 140" nothing_at="500 400"
print_labels="357 48"
print_button="409 241"
output_file="189 118"
dialog_print="201 159"

main=$(wait_window '^Strixel$') || fail "no main window"

# Picks item $3 of sub-menu $2 (resource $4) under item $1 of the Code Type menu.
choose_code_type() {
    # shellcheck disable=SC2086
    xdotool mousemove $title_code_type click 1
    local menu sub
    menu=$(wait_window '^Code Type$') || fail "a click on Code Type opened no menu"
    click_in "$menu" 30 "$(item_offset 144 "$1")"
    sub=$(wait_window "^$1\$") || fail "Code Type > $1 opened no sub-menu"
    click_in "$sub" 30 "$(item_offset "$3" "$2")"
    wait_gone '^Code Type$' || fail "the Code Type menu stayed after \"$2\""
}

# Types $2 into the main window's field at $1 (a click there first).
type_into() {
    # shellcheck disable=SC2086
    click_in "$main" $1
    focus "$main"
    xdotool type --delay 20 "$2"
}

# OK in the main window, the preview clicked, the save dialog answered with $1.
ok_and_save() {
    # shellcheck disable=SC2086
    click_in "$main" $ok_button
    local preview
    preview=$(wait_window '^Preview$') || fail "OK showed no preview window"
    geometry "$preview"
    click_in "$preview" $((ww / 2)) $((wh / 2))
    answer_file_dialog '^Save As$' "$1"
    wait_file "$1" || fail "no file at $1 after the save dialog"
}

# 1. EAN-UCC 13 with an add-on, as EPS.
choose_code_type "Retail and Shipping" "EAN-UCC 13" 238
type_into "$data_field" 590123412345
xdotool key Tab
xdotool type --delay 20 12
# shellcheck disable=SC2086
choose_from_popup "$main" $output_box Output 133 "EPS 3"
ok_and_save "$home/ean13.eps"
read=$(read_symbols "$home/ean13.eps" -Sean2.enable | tr '\n' ' ')
[ "$read" = "EAN-13:5901234123457 EAN-2:12 " ] || fail "the EAN-13 EPS reads \"$read\""

# 2. Code 128 with a bar-width reduction, as TIFF.
choose_code_type Industrial "Code 128" 239
type_into "$data_field" STRIXEL-128
type_into "$bwr_field" 10
# shellcheck disable=SC2086
choose_from_popup "$main" $output_box Output 133 TIFF
ok_and_save "$home/code128.tif"
read=$(zbarimg -q "$home/code128.tif" 2>/dev/null || true)
[ "$read" = "CODE-128:STRIXEL-128" ] || fail "the Code 128 TIFF reads \"$read\""
# The code type's name box as the main window shows it now, to compare at the
# next start.
name_box="100x26+24+4"
import -window "$main" -crop "$name_box" +repage "$home/code-type-before.png"

# 3. A layout: the sheet, a serial barcode, a dated text and a rectangle.
choose_from_bar "$title_file" File 129 "New Label"
sheet=$(wait_window '^Sheet Setup$') || fail "New Label showed no sheet window"
# shellcheck disable=SC2086
click_in "$sheet" $sheet_a4_3x8
# shellcheck disable=SC2086
click_in "$sheet" $sheet_ok
layout=$(wait_window '^Untitled$') || fail "no layout window after the sheet's OK"
tools=$(wait_window '^Tools$') || fail "no tool palette with the layout"
# shellcheck disable=SC2086
click_in "$tools" $barcode_tool
# shellcheck disable=SC2086
click_in "$layout" $barcode_at
# shellcheck disable=SC2086
click_in "$main" $serial_tab
type_into "$serial_start" 1001
type_into "$serial_end" 1005
type_into "$serial_step" 1
type_into "$serial_length" 4
# shellcheck disable=SC2086
click_in "$main" $ok_button
# shellcheck disable=SC2086
click_in "$tools" $text_tool
# shellcheck disable=SC2086
click_in "$layout" $text_at
# shellcheck disable=SC2086
click_in "$main" $text_field
focus "$main"
xdotool key ctrl+a
xdotool type --delay 20 'Made \<Date-DD/MM/YY>'
# shellcheck disable=SC2086
click_in "$tools" $rectangle_tool
# shellcheck disable=SC2086
click_in "$layout" $rectangle_at
# shellcheck disable=SC2086
click_in "$layout" $nothing_at
sleep 0.5

doc="$home/journey.labl"
choose_from_bar "$title_file" File 129 "Save As…"
answer_file_dialog '^Save As$' "$doc"
wait_file "$doc" || fail "no document at $doc after the save dialog"

choose_from_bar "$title_file" File 129 "Print…"
print=$(wait_window '^Print$') || fail "File > Print showed no print window"
# shellcheck disable=SC2086
click_in "$print" $print_labels
focus "$print"
xdotool key BackSpace BackSpace BackSpace
xdotool type --delay 20 5
# shellcheck disable=SC2086
click_in "$print" $print_button
dialog=$(wait_print_dialog '^(Untitled|journey.labl)$' "$layout") || fail "the Print button showed no print dialog"
pdf="$home/journey.pdf"
answer_print_dialog "$dialog" "$pdf" "$output_file" "$dialog_print"
wait_file "$pdf" 20 || fail "no PDF at $pdf after the print dialog"
read=$(read_symbols "$pdf" | tr '\n' ' ')
expected="CODE-128:1001 CODE-128:1002 CODE-128:1003 CODE-128:1004 CODE-128:1005 "
[ "$read" = "$expected" ] || fail "the printed labels read \"$read\", not the serials 1001 to 1005"
today=$(date +%d/%m/%y)
dated=$(pdftotext "$pdf" - | grep -c "Made $today" || true)
[ "$dated" -eq 5 ] || fail "$dated of 5 labels show \"Made $today\""

quit_program

# 4. Started again: the last code type is back, and File > Open brings the
# saved document back with its items.
start_program "$program"
if help=$(wait_window '^Strixel Help$' 3); then
    focus "$help"
    xdotool key Escape
    wait_gone '^Strixel Help$' || fail "Escape did not close the help page"
fi
main=$(wait_window '^Strixel$') || fail "no main window at the second start"
import -window "$main" -crop "$name_box" +repage "$home/code-type-after.png"
# The same name, though its yellow may be dimmer in a window not yet active.
differ=$(compare -fuzz 35% -metric AE "$home/code-type-before.png" "$home/code-type-after.png" \
    null: 2>&1 || true)
[ "$differ" = "0" ] || fail "the second start shows another code type ($differ pixels differ)"
choose_from_bar "$title_file" File 129 "Open…"
answer_file_dialog '^Open' "$doc"
layout=$(wait_window '^journey.labl$' 15) || fail "File > Open showed no window for the document"
sleep 1
import -window "$layout" "$home/reopened.png"
ink=$(convert "$home/reopened.png" -crop 200x110+32+52 +repage -threshold 50% -negate \
    -format '%[fx:int(mean*1000)]' info:)
((ink > 20)) || fail "the reopened layout shows no items (ink $ink per mille)"
quit_program
echo "$name: ok"
