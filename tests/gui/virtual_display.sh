#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, killed after LIMIT seconds:
#   tests/gui/virtual_display.sh LIMIT COMMAND [ARGUMENT...]
# The display's number is searched for from a random start, so a test never
# takes the number the test before it has just let go: a server that is still
# shutting down can turn the new display's first clients away.
set -euo pipefail
limit=${1:?usage: virtual_display.sh LIMIT COMMAND [ARGUMENT...]}
shift
exec timeout "$limit" xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" "$@"
