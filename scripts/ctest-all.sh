#!/usr/bin/env bash
# Registers the components and runs CTest for x86 and x64; called by test.sh inside a display.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

wineserver -k 2>/dev/null || true
bash "$here/register.sh" || exit 1
status=0
for arch in x86 x64; do
  echo "== tests ($arch)"
  (cd "$BUILD_ROOT/$arch" && ctest --output-on-failure --timeout 300 "$@") || status=1
done
wineserver -k 2>/dev/null || true
exit $status
