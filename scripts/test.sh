#!/usr/bin/env bash
# Every test: installs what is missing, builds both bitnesses, prepares the Wine prefix,
# registers the components and runs CTest (GoogleTest and VBScript tests) for x86 and x64
# under a virtual X display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

bash "$here/install-packages.sh"
bash "$here/build.sh"
bash "$here/wine-prefix.sh"

xvfb-run -a -s '-screen 0 1280x1024x24' bash "$here/ctest-all.sh" "$@"
