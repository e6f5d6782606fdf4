#!/usr/bin/env bash
# The sample run itself; called by sample.sh inside a display. Runs the sample client
# (examples/) in batch mode, 32-bit as VB clients are, and leaves the report in
# $BUILD_ROOT/sample-output.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
use_japanese_locale

wineserver -k 2>/dev/null || true
bash "$here/register.sh" || exit 1
out=$BUILD_ROOT/sample-output
timeout 300 $WINE32 "$BUILD_ROOT/x86/examples/report_sample.exe" /batch /out "$(winepath -w "$out")" \
  </dev/null 2>/dev/null | tr -d '\r'
status=${PIPESTATUS[0]}
wineserver -k 2>/dev/null || true
exit $status
