# Shared by the tests that drive the real strixel-desktop with xdotool on a
# virtual X display. Sourced by a test script after it has set `name`:
#   gui_enter "$@"    re-runs the script under xvfb-run (bounded) when needed
#   gui_start PROGRAM starts the program in a home of its own
# Every wait is bounded; a failing step says what it waited for, and leaves a
# picture of the screen (and the pictures the test took) in $STRIXEL_GUI_SHOTS
# when that names a folder.
# shellcheck shell=bash
# name (the test's) is set by the script that sources this file.
# shellcheck disable=SC2154

gui_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
menus_dir="$gui_dir/../../resources/menus"

# Where the File title is in the menu bar.
title_file="78 10"

gui_enter() {
    if [ -z "${STRIXEL_GUI_INNER:-}" ]; then
        exec env STRIXEL_GUI_INNER=1 bash "$gui_dir/virtual_display.sh" "${gui_limit:-100}" \
            bash "$0" "$@"
    fi
}

fail() {
    echo "$name: $*" >&2
    if [ -n "${STRIXEL_GUI_SHOTS:-}" ] && [ -d "$STRIXEL_GUI_SHOTS" ]; then
        import -window root "$STRIXEL_GUI_SHOTS/$name-failed.png" 2>/dev/null || true
        cp "$home"/*.png "$STRIXEL_GUI_SHOTS/" 2>/dev/null || true
    fi
    windows_now >&2 || true
    if [ -s "${home:-}/program.log" ]; then
        echo "the program's last words:" >&2
        tail -n 20 "$home/program.log" >&2
    fi
    kill "$pid" 2>/dev/null || true
    exit 1
}

# The visible windows by name, for a failure's report.
windows_now() {
    echo "visible windows:"
    for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
        echo "  $(xdotool getwindowname "$w")"
    done
}

gui_start() {
    home=$(mktemp -d "/tmp/strixel-$name-XXXXXX")
    trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
    export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
    export LSAN_OPTIONS="suppressions=$gui_dir/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    start_program "$1"
    # The help page of the first start is closed out of the way.
    local help
    help=$(wait_window '^Strixel Help$') || fail "no help page at the first start"
    xdotool windowfocus "$help" key Escape
    wait_gone '^Strixel Help$' || fail "Escape did not close the help page"
}

# Starts program $1 (its output added to program.log) and waits for its main
# window. A display that has only just come up can turn its first client away,
# and Qt then ends the program at once saying so: such a start is tried again.
start_program() {
    local attempt
    for attempt in 1 2; do
        QT_QPA_PLATFORM=xcb "$1" >>"$home/program.log" 2>&1 &
        pid=$!
        for _ in $(seq 50); do
            xdotool search --onlyvisible --name '^Strixel$' >/dev/null 2>&1 && return 0
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.2
        done
        kill -0 "$pid" 2>/dev/null && fail "no main window"
        if [ "$attempt" = 2 ] || ! grep -q "could not connect to display" "$home/program.log"; then
            fail "the program ended before its main window showed"
        fi
        sleep 1
    done
}

# Waits (at most $2 seconds, 10 by default) for a visible window whose name
# matches $1 and prints its id.
wait_window() {
    local tries=$((${2:-10} * 5)) id
    for _ in $(seq "$tries"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended early"
        sleep 0.2
    done
    return 1
}

# Waits (at most 10 s) for the print dialog, a new window named as the layout
# (the pattern $1) other than the layout's window $2, and prints its id.
wait_print_dialog() {
    local dialog="" w
    for _ in $(seq 50); do
        for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            [ "$w" != "$2" ] && dialog=$w
        done
        if [ -n "$dialog" ]; then
            echo "$dialog"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits (at most 10 s) until no visible window's name matches $1.
wait_gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# Waits (at most $2 seconds) for a file to appear with something in it and stop
# growing.
wait_file() {
    local size=-1 now
    for _ in $(seq $((${2:-10} * 5))); do
        if [ -s "$1" ]; then
            now=$(stat -c %s "$1")
            [ "$now" = "$size" ] && return 0
            size=$now
        fi
        sleep 0.2
    done
    return 1
}

# Sets wx, wy, ww, wh to window $1's place and size on the screen.
# shellcheck disable=SC2034
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
}

# Moves the mouse to (h, v) inside window $1.
move_in() {
    geometry "$1"
    xdotool mousemove $((wx + $2)) $((wy + $3))
}

# Clicks at (h, v) inside window $1.
click_in() {
    move_in "$@"
    xdotool click 1
}

# Gives window $1 the keyboard (there is no window manager to do it).
focus() { xdotool windowfocus "$1"; }

# How far below a menu's top item $2 of menu resource $1 lies (its middle):
# items are 16 pixels high, separators ("-") 8.
item_offset() {
    local offset=0 line found=""
    while IFS= read -r line; do
        if [ "${line%%/*}" = "$2" ]; then
            found=1
            break
        fi
        if [ "$line" = "-" ]; then offset=$((offset + 8)); else offset=$((offset + 16)); fi
    done < <(tail -n +2 "$menus_dir/$1.txt")
    [ -n "$found" ] || fail "no item \"$2\" in menu $1"
    echo $((offset + 8))
}

# Chooses item $4 of menu resource $3 from the menu bar: a click on the title
# at "$1" opens the menu named $2, a click on the item chooses.
choose_from_bar() {
    local menu offset
    # shellcheck disable=SC2086
    xdotool mousemove $1 click 1
    menu=$(wait_window "^$2\$") || fail "a click on the $2 title opened no menu"
    offset=$(item_offset "$3" "$4")
    click_in "$menu" 20 "$offset"
    wait_gone "^$2\$" || fail "the $2 menu stayed open after \"$4\""
}

# Chooses item $6 of menu resource $5 (its window named $4) from the pop-up box
# at (h, v) = ($2, $3) of window $1: pressed, moved to the item, released there.
choose_from_popup() {
    local menu offset
    move_in "$1" "$2" "$3"
    xdotool mousedown 1
    menu=$(wait_window "^$4\$") || fail "the pop-up at $2,$3 showed no $4 menu"
    offset=$(item_offset "$5" "$6")
    move_in "$menu" 20 "$offset"
    sleep 0.2
    xdotool mouseup 1
    wait_gone "^$4\$" || fail "the $4 pop-up stayed open after \"$6\""
}

# Answers the open file dialog with path $2 (the dialog's window name is $1).
answer_file_dialog() {
    local dialog
    dialog=$(wait_window "$1") || fail "no \"$1\" dialog"
    focus "$dialog"
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 10 "$2"
    xdotool key Return
    wait_gone "$1" || fail "the \"$1\" dialog stayed open after $2"
}

# Answers the print dialog (window $1) with a PDF file $2: the output file
# field (at "$3") cleared and typed into, then Return. When the field's
# completer swallowed the Return, the dialog's Print button (at "$4") is
# clicked instead.
answer_print_dialog() {
    # shellcheck disable=SC2086
    click_in "$1" $3
    focus "$1"
    xdotool key ctrl+a
    xdotool type --delay 10 "$2"
    sleep 0.5
    xdotool key Return
    for _ in $(seq 25); do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        xdotool search --onlyvisible --name '.' 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.2
    done
    # shellcheck disable=SC2086
    click_in "$1" $4
}

# Reads the barcodes of an EPS or PDF file: renders it with Ghostscript at
# 300 dpi and prints what zbarimg reads (its options follow the file), one
# symbol a line, sorted.
read_symbols() {
    local page="$home/read-%03d.pgm"
    rm -f "$home"/read-*.pgm
    case "$1" in
        *.pdf | *.PDF) gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r300 \
            -sOutputFile="$page" "$1" >/dev/null ;;
        *) gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pgmraw -r300 \
            -sOutputFile="$page" "$1" >/dev/null ;;
    esac
    zbarimg -q "${@:2}" "$home"/read-*.pgm 2>/dev/null | sort
}

# Reads every symbol of a PDF's pages one by one (a reader reports a symbol
# once however often a page repeats it): each page rendered at 200 dpi, split
# into the blocks of ink that blank bands at least 4 mm wide part, and each
# block read alone. One line a block: what zbarimg read, or "unread X,Y".
read_each_symbol() {
    local page boxes
    rm -f "$home"/each-*.pgm "$home"/block.pgm
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgm -r200 \
        -sOutputFile="$home/each-%03d.pgm" "$1" >/dev/null
    for page in "$home"/each-*.pgm; do
        boxes=$(awk -v gap=32 -v pad=24 '
            function flush(   x, run, first, last) {
                if (!inBand) return
                run = 0
                for (x = 0; x <= w; ++x) {
                    if (x < w && (x in col)) {
                        if (!run) first = x
                        run = 1; last = x
                    } else if (run && (x == w || x - last > gap)) {
                        print first - pad, top - pad, last - first + 2 * pad, bottom - top + 2 * pad
                        run = 0
                    }
                }
                delete col; inBand = 0
            }
            NR == 1 || /^#/ { next }
            !w { w = $1; h = $2; next }
            !max { max = $1; next }
            { for (i = 1; i <= NF; ++i) {
                  x = n % w; y = int(n / w); ++n
                  if (y != row) {
                      if (rowInk) { if (!inBand) top = row; inBand = 1; bottom = row; last_ink = row }
                      else if (inBand && row - last_ink > gap) flush()
                      row = y; rowInk = 0
                  }
                  if ($i < max / 2) { col[x] = 1; rowInk = 1 }
              } }
            END { if (rowInk) { if (!inBand) top = row; inBand = 1; bottom = row }; flush() }
        ' "$page")
        while read -r x y bw bh; do
            [ -n "$x" ] || continue
            convert "$page" -crop "${bw}x${bh}+${x}+${y}" +repage "$home/block.pgm"
            zbarimg -q "$home/block.pgm" 2>/dev/null | head -1 | grep . || echo "unread $x,$y"
        done <<<"$boxes"
    done
}

# The box of dark ink of an EPS file's first page at 72 dpi, in points from its
# top-left corner: "left top right bottom" (nothing when the page is blank).
ink_box() {
    gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pgm -r72 -sOutputFile=- "$1" |
        awk 'NR == 1 || /^#/ { next }
             !w { w = $1; h = $2; next }
             !max { max = $1; next }
             { for (i = 1; i <= NF; ++i) {
                   if ($i < max / 2) {
                       x = n % w; y = int(n / w)
                       if (!seen || x < l) l = x
                       if (!seen || y < t) t = y
                       if (!seen || x > r) r = x
                       if (!seen || y > b) b = y
                       seen = 1
                   }
                   ++n } }
             END { if (seen) print l, t, r, b }'
}

# Ends the program through File > Quit; fails when it does not end with status
# 0. With a layout open the program asks whether to save it first (the click on
# the menu bar counts as a change): the answer is a click on Don't Save (Return
# would save), so callers save before they quit.
dont_save_button="120 80"  # the question box's second button, in its window
quit_program() {
    choose_from_bar "$title_file" File 129 Quit
    local asked=""
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        if [ -z "$asked" ] && xdotool search --onlyvisible --name '^Save the changes' >/dev/null 2>&1; then
            click_in "$(xdotool search --onlyvisible --name '^Save the changes' | tail -1)" \
                $dont_save_button
            asked=1
        fi
        sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null && fail "File > Quit did not end the program"
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
