#!/usr/bin/env bash
# Renders the flat button's normal, pressed and disabled looks to PNG files in the build root
# (x86 build, under a virtual display). usage: BUILD_ROOT=... tests/flat_button/render_looks.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/env.sh"
exe=$BUILD_ROOT/x86/tests/flat_button_render_looks.exe
out=$(mktemp -d)
xvfb-run -a -s '-screen 0 1280x1024x24' \
  bash "$ROOT/scripts/wine-run.sh" "$WINEPREFIX" "$exe" "$(winepath -w "$out")"
for look in normal pressed disabled; do
  convert "$out/flat_button_$look.bmp" "$BUILD_ROOT/flat_button_$look.png"
  echo "$BUILD_ROOT/flat_button_$look.png"
done
rm -rf "$out"
