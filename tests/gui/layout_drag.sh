#!/usr/bin/env bash
# The layout editor in the real strixel-desktop on a virtual X display: File >
# New Label, the sheet window's OK, the barcode tool of the tool palette and a
# click on the label make an item; File > Save answers the save dialog; the item
# is dragged with the mouse and saved again. Each saved document is written
# back out by the command line: the barcode decodes, first where it was made
# and then moved by exactly the drag.
#   tests/gui/layout_drag.sh PATH-TO-strixel-desktop PATH-TO-strixel
set -euo pipefail
name=layout_drag
program=${1:?usage: layout_drag.sh PATH-TO-strixel-desktop PATH-TO-strixel}
command_line=${2:?usage: layout_drag.sh PATH-TO-strixel-desktop PATH-TO-strixel}
# shellcheck source=tests/gui/gui_lib.sh
. "$(dirname "$0")/gui_lib.sh"
gui_enter "$@"
gui_start "$program"

# Window pixels: the sheet window's OK, the palette's barcode tool, where the
# item is made in the layout window and how far it is dragged. At zoom 100 a
# pixel is a point and the label starts 32 pixels right of the window's left
# edge and 52 below its top (the drag bar and the ruler).
sheet_ok="298 326"
barcode_tool="36 65"
label_h=32 label_v=52
made_h=30 made_v=40
drag_h=130 drag_v=-30

choose_from_bar "$title_file" File 129 "New Label"
sheet=$(wait_window '^Sheet Setup$') || fail "New Label showed no sheet window"
# shellcheck disable=SC2086
click_in "$sheet" $sheet_ok
wait_gone '^Sheet Setup$' || fail "the sheet window stayed after OK"
layout=$(wait_window '^Untitled$') || fail "no layout window after the sheet's OK"
tools=$(wait_window '^Tools$') || fail "no tool palette with the layout"

# shellcheck disable=SC2086
click_in "$tools" $barcode_tool
click_in "$layout" $((label_h + made_h)) $((label_v + made_v))
sleep 0.5

doc="$home/dragged.labl"
choose_from_bar "$title_file" File 129 Save
answer_file_dialog '^Save As$' "$doc"
wait_file "$doc" || fail "no document at $doc after the save dialog"

# The document as the command line writes it: the label as EPS.
label_of() {
    rm -f "$home/label.eps"
    "$command_line" --open "$doc" "{saveto:\"$home/label.eps\"}" >/dev/null ||
        fail "the command line could not write the saved document's label"
    [ -s "$home/label.eps" ] || fail "no label written from $doc"
    read=$(read_symbols "$home/label.eps")
    [ "$read" = "EAN-13:5012345678900" ] || fail "the saved label reads \"$read\""
    ink_box "$home/label.eps"
}
read -r before_left before_top _ <<<"$(label_of)"
[ -n "$before_left" ] || fail "the saved label shows no ink"
# The item is made where the label was clicked (its quiet zone to the left).
if ((before_left < made_h || before_left > made_h + 12 || before_top < made_v - 2 ||
    before_top > made_v + 2)); then
    fail "the item was made at $before_left,$before_top, not at $made_h,$made_v"
fi

# Pressed on the barcode and held, it follows the mouse; released, it stays.
from_h=$((label_h + made_h + 50)) from_v=$((label_v + made_v + 30))
move_in "$layout" "$from_h" "$from_v"
xdotool mousedown 1
sleep 0.6
for step in 1 2 3 4 5; do
    move_in "$layout" $((from_h + drag_h * step / 5)) $((from_v + drag_v * step / 5))
    sleep 0.1
done
sleep 0.2
xdotool mouseup 1
sleep 0.5

saved=$(md5sum <"$doc")
choose_from_bar "$title_file" File 129 Save
for _ in $(seq 50); do
    [ "$(md5sum <"$doc")" != "$saved" ] && break
    sleep 0.2
done
[ "$(md5sum <"$doc")" != "$saved" ] || fail "File > Save did not write the dragged item"
wait_file "$doc" || fail "the document did not settle"
read -r after_left after_top _ <<<"$(label_of)"
# A point either way: the ink's edge falls in a pixel of its own at 72 dpi.
moved_h=$((after_left - before_left - drag_h)) moved_v=$((after_top - before_top - drag_v))
if ((moved_h < -1 || moved_h > 1 || moved_v < -1 || moved_v > 1)); then
    fail "dragged by $drag_h,$drag_v the item moved from $before_left,$before_top to $after_left,$after_top"
fi

quit_program
echo "$name: ok"
