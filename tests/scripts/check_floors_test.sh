#!/usr/bin/env bash
# The floor check on small trees of its own: includes that stay on their floor
# or go down pass; one that climbs, or a folder without a floor, fails and is named.
set -uo pipefail
check="$(dirname "$0")/../../scripts/check-floors.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

tree() {  # NAME, then FILE:INCLUDE... (INCLUDE empty for none)
    local root="$work/$1"
    shift
    rm -rf "$root"
    for spec in "$@"; do
        local file=${spec%%:*} inc=${spec#*:}
        mkdir -p "$root/$(dirname "$file")"
        [ -n "$inc" ] && printf '#include "%s"\n' "$inc" >>"$root/$file"
        touch "$root/$file"
    done
    echo "$root"
}

expect() {  # pass|fail ROOT [TEXT...]: the check's verdict, and texts its report names
    local want=$1 root=$2
    shift 2
    local out status
    out=$(bash "$check" "$root" 2>&1)
    status=$?
    if { [ "$want" = pass ] && [ $status -ne 0 ]; } || { [ "$want" = fail ] && [ $status -ne 1 ]; }; then
        echo "FAIL: expected $want (status $status) for $(basename "$root"):"
        echo "$out"
        failures=$((failures + 1))
    fi
    for text in "$@"; do
        if ! grep -qF -- "$text" <<<"$out"; then
            echo "FAIL: the report for $(basename "$root") does not name $text:"
            echo "$out"
            failures=$((failures + 1))
        fi
    done
}

# Down and sideways: each floor on the ones below, a run on the painters, a
# front end on everything, families of the engine on each other, bare names.
expect pass "$(tree good \
    platform/quickdraw/port.cpp:platform/files.h \
    symbology/EAN.cpp:platform/files.h symbology/EAN.cpp:pdf417/reed.h \
    labels/labelDoc.cpp:symbology/state.h \
    picture/PICout2.cpp:labels/labelDoc.h vector/page.cpp:picture/services.h \
    labels/runs/printLabels.cpp:picture/PICout2.h picture/output/outer2.cpp:labels/runs/x.h \
    automation/cli.cpp:labels/runs/printLabels.h app/world.cpp:automation/cli.h \
    main.cpp:automation/cli.h labels/serial.cpp:serial.h)"

# The model including a run: the file and the include are named.
expect fail "$(tree model-on-run labels/labelDoc.cpp:labels/labelFile.h \
    labels/itemData.cpp:labels/runs/production.h)" \
    'labels/itemData.cpp: #include "labels/runs/production.h"'
# A painter including a front end, and the platform including the engine.
expect fail "$(tree painter-on-front-end vector/Epsout.cpp:automation/options.h)" \
    'vector/Epsout.cpp: #include "automation/options.h"'
expect fail "$(tree platform-on-engine platform/quickdraw/text.cpp:symbology/state.h)" \
    'platform/quickdraw/text.cpp: #include "symbology/state.h"'
# The painters below the output files: a picture file including one climbs.
expect fail "$(tree painter-on-output picture/PICout2.cpp:picture/output/SetUpFiles.h)" \
    'picture/PICout2.cpp: #include "picture/output/SetUpFiles.h"'
# A folder the check does not know has to be given a floor.
expect fail "$(tree unknown-folder newthing/x.cpp:platform/files.h)" 'newthing/x.cpp'
# A missing folder is an error, not a pass.
bash "$check" "$work/none" >/dev/null 2>&1
[ $? -eq 2 ] || { echo "FAIL: a missing folder was not refused"; failures=$((failures + 1)); }

# And the program's own sources keep to their floors.
expect pass "$(dirname "$0")/../../src"

[ $failures -eq 0 ] && echo "floor check: all cases pass"
exit $((failures > 0))
