#!/usr/bin/env bash
# The sample run: sets everything up, then makes one report with the components and the
# project's stand-in Word, and says what it did.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

bash "$here/install-packages.sh"
bash "$here/build.sh"
bash "$here/wine-prefix.sh"

xvfb-run -a -s '-screen 0 1280x1024x24' bash "$here/sample-run.sh"
