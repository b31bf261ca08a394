#!/usr/bin/env bash
# The print window in the real strixel-desktop on a virtual X display: a new
# layout on the first sheet of the template list (A4, 2 x 7) with a barcode
# item, File > Print shows the print window; its Print button brings the print
# dialog, whose PDF destination is given a typed file name; the PDF holds the
# filled sheet, fourteen labels whose barcodes each decode.
#   tests/gui/print_window.sh PATH-TO-strixel-desktop
set -euo pipefail
name=print_window
program=${1:?usage: print_window.sh PATH-TO-strixel-desktop}
# shellcheck source=tests/gui/gui_lib.sh
. "$(dirname "$0")/gui_lib.sh"
gui_enter "$@"
# No printing system to ask: the dialog's only destination is a PDF file.
export CUPS_SERVER="/nonexistent/strixel-no-cups.sock"
gui_start "$program"

# Window pixels: the sheet window's OK, the palette's barcode tool, a point of
# the label near its top-left corner, the print window's Print button and the
# print dialog's output file field and Print button.
sheet_ok="298 326"
barcode_tool="36 65"
label_point="52 62"
print_button="409 241"
output_file="189 118"
dialog_print="201 159"
labels_on_sheet=14

choose_from_bar "$title_file" File 129 "New Label"
sheet=$(wait_window '^Sheet Setup$') || fail "New Label showed no sheet window"
# shellcheck disable=SC2086
click_in "$sheet" $sheet_ok
layout=$(wait_window '^Untitled$') || fail "no layout window after the sheet's OK"
tools=$(wait_window '^Tools$') || fail "no tool palette with the layout"
# shellcheck disable=SC2086
click_in "$tools" $barcode_tool
# shellcheck disable=SC2086
click_in "$layout" $label_point
sleep 0.5

choose_from_bar "$title_file" File 129 "Print…"
print=$(wait_window '^Print$') || fail "File > Print showed no print window"
# shellcheck disable=SC2086
click_in "$print" $print_button

# The dialog is titled with the job's name, the layout's: the new window of
# that name.
dialog=$(wait_print_dialog '^Untitled$' "$layout") || fail "the Print button showed no print dialog"
pdf="$home/printed.pdf"
answer_print_dialog "$dialog" "$pdf" "$output_file" "$dialog_print"
wait_file "$pdf" 20 || fail "no PDF at $pdf after the print dialog"

read=$(read_each_symbol "$pdf")
count=$(grep -c '^EAN-13:5012345678900$' <<<"$read" || true)
[ "$count" -eq "$labels_on_sheet" ] ||
    fail "$count of $labels_on_sheet labels decode in the printed PDF: $(tr '\n' ' ' <<<"$read")"

quit_program
echo "$name: ok"
