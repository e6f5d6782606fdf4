#!/usr/bin/env bash
# The sample run: sets everything up, then makes one report with the components and the
# project's stand-in Word, and says what it did.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

bash "$here/install-packages.sh"
bash "$here/build.sh"
bash "$here/wine-prefix.sh"

run_sample() {
  set -e
  wineserver -k 2>/dev/null || true
  bash "$here/register.sh"
  bash "$here/run-vbs.sh" "$WINEPREFIX" x86 "$ROOT/examples/sample_run.vbs"
  wineserver -k 2>/dev/null || true
}
export -f run_sample
export here
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c run_sample
