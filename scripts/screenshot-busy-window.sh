#!/usr/bin/env bash
# Shows the busy window under a virtual display and saves a screenshot of it to
# $BUILD_ROOT/busy-window.png (and, after a cancel click, busy-window-cancel.png).
# Needs a build (scripts/build.sh) and the prefix (scripts/wine-prefix.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

if [ -z "${DISPLAY:-}" ] || [ "${1:-}" != --inside ]; then
  exec xvfb-run -a -s '-screen 0 800x600x24' bash "$0" --inside
fi
use_japanese_locale
wineserver -k 2>/dev/null || true
bash "$here/register.sh"
client=$BUILD_ROOT/x64/tests/halvane_screenshot_client.exe
timeout 60 $WINE64 "$client" </dev/null >/dev/null 2>&1 &
pid=$!
sleep 4
xwd -root -silent -display "$DISPLAY" | convert xwd:- "$BUILD_ROOT/busy-window.png"
sleep 3
xwd -root -silent -display "$DISPLAY" | convert xwd:- "$BUILD_ROOT/busy-window-cancel.png"
wait $pid || true
wineserver -k 2>/dev/null || true
echo "wrote $BUILD_ROOT/busy-window.png and $BUILD_ROOT/busy-window-cancel.png"
