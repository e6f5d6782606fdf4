#!/usr/bin/env bash
# Test emulator: runs a Windows program in the project's prefix.  usage: wine-run.sh PREFIX EXE ARGS...
set -u
prefix=$1; shift
. "$(dirname "$0")/env.sh"
use_japanese_locale
export WINEPREFIX=$prefix
# Wine's background processes keep the first caller's output pipe open; start them detached.
if wineserver -p30 </dev/null >/dev/null 2>&1; then
  $WINE64 cmd /c exit </dev/null >/dev/null 2>&1
fi
loader=$WINE64
if file -b "$1" 2>/dev/null | grep -q 'PE32 executable'; then loader=$WINE32; fi
exec "$loader" "$@"
