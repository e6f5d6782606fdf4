#!/usr/bin/env bash
# Configures and builds both bitnesses: build/x86 (i686, what VB6 clients load) and build/x64.
set -euo pipefail
. "$(dirname "$0")/env.sh"

for arch in x86 x64; do
  case $arch in x86) tc=mingw-i686 ;; x64) tc=mingw-x86_64 ;; esac
  dir=$BUILD_ROOT/$arch
  # Configured every time (quick once cached): new folders are picked up without a clean.
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$tc.cmake" -DWINE_PREFIX_DIR="$WINEPREFIX" >/dev/null
  if ! cmake --build "$dir" -- -j"$(nproc)" >"$dir/build.log" 2>&1; then
    grep -v -E '^\[[0-9]+/[0-9]+\] ' "$dir/build.log" | tail -n 60
    echo "build ($arch) failed; full log: $dir/build.log" >&2
    exit 1
  fi
done
