#!/bin/bash
# Starts a program of the win64 tree under Wine, waits for it to draw and saves a picture of
# the screen:
#   tools/screenshot.sh OUT.png build/win64/src/app/Quorvel.exe
#   tools/screenshot.sh editor.png build/win64/tools/editor_preview.exe 8
# The picture is of the tree's own display (or of DISPLAY when it is set); SCREENSHOT_DELAY
# gives the seconds to wait (4).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$1
shift
cmake/wine-run.sh build/win64 "$@" &
program=$!
sleep "${SCREENSHOT_DELAY:-4}"
import -display "${DISPLAY:-$(cat build/win64/wine/display)}" -window root "$out"
wait "$program" || true
