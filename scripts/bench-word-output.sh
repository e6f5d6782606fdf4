#!/usr/bin/env bash
# Builds and runs the report and table benchmarks (library against a direct client) in the
# project's prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
bash "$here/install-packages.sh"
bash "$here/build.sh"
bash "$here/wine-prefix.sh"
bench=$BUILD_ROOT/x64/bench
xvfb-run -a bash -c "bash '$here/register.sh' &&
  '$here/wine-run.sh' '$WINEPREFIX' '$bench/quorrel_report_bench.exe' &&
  '$here/wine-run.sh' '$WINEPREFIX' '$bench/quorrel_table_bench.exe'; wineserver -k"
