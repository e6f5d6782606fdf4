#!/usr/bin/env bash
# The sample run itself; called by sample.sh inside a display.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

wineserver -k 2>/dev/null || true
bash "$here/register.sh" || exit 1
bash "$here/run-vbs.sh" "$WINEPREFIX" x86 "$ROOT/examples/sample_run.vbs"
status=$?
wineserver -k 2>/dev/null || true
exit $status
