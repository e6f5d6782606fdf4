#!/usr/bin/env bash
# Runs the busy window benchmark (bench/busy_window) for x86 and x64 under a virtual display.
# Needs a build (scripts/build.sh) and the prefix (scripts/wine-prefix.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

if [ -z "${DISPLAY:-}" ] || [ "${1:-}" != --inside ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" --inside
fi
use_japanese_locale
wineserver -k 2>/dev/null || true
bash "$here/register.sh"
for arch in x86 x64; do
  loader=$WINE32; [ $arch = x64 ] && loader=$WINE64
  echo "== halvane_bench ($arch)"
  timeout 180 $loader "$BUILD_ROOT/$arch/bench/halvane_bench.exe" </dev/null 2>/dev/null | tr -d '\r'
done
wineserver -k 2>/dev/null || true
