#!/usr/bin/env bash
# Registers the built components, both bitnesses, in the project's Wine prefix only.
set -euo pipefail
. "$(dirname "$0")/env.sh"
use_japanese_locale
verb=${1:-register}

run() {  # run LOADER ARGS... ; fails loudly
  timeout 60 "$@" </dev/null >/dev/null 2>&1 || { echo "failed: ${*:2}" >&2; return 1; }
}

for arch in x86 x64; do
  loader=$WINE32; [ $arch = x64 ] && loader=$WINE64
  bin=$BUILD_ROOT/$arch/bin
  for dll in Quorrel.dll Pelorin.dll; do
    [ -f "$bin/$dll" ] || continue
    if [ "$verb" = register ]; then run $loader regsvr32 /s "$(winepath -w "$bin/$dll")"
    else run $loader regsvr32 /s /u "$(winepath -w "$bin/$dll")"; fi
  done
  for exe in Halvane.exe WordStandin.exe; do
    [ -f "$bin/$exe" ] || continue
    if [ "$verb" = register ]; then run $loader "$bin/$exe" /RegServer
    else run $loader "$bin/$exe" /UnregServer; fi
  done
done
