#!/usr/bin/env bash
# Builds and runs the report benchmark (library against a direct client) in the project's prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
bash "$here/install-packages.sh"
bash "$here/build.sh"
bash "$here/wine-prefix.sh"
xvfb-run -a bash -c "bash '$here/register.sh' && '$here/wine-run.sh' '$WINEPREFIX' '$BUILD_ROOT/x64/bench/quorrel_report_bench.exe'; wineserver -k"
