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

run_tests() {
  set -e
  wineserver -k 2>/dev/null || true
  bash "$here/register.sh"
  status=0
  for arch in x86 x64; do
    echo "== tests ($arch)"
    (cd "$BUILD_ROOT/$arch" && ctest --output-on-failure --timeout 300 "$@") || status=1
  done
  wineserver -k 2>/dev/null || true
  return $status
}
export -f run_tests
export here
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c 'run_tests "$@"' run_tests "$@"
