#!/usr/bin/env bash
# Runs a VBScript test in Wine's cscript (x86 or x64). Wine's cscript exits 0 even when the
# script dies, so a pass needs both exit code 0 and the script's last line "ALL PASSED".
# usage: run-vbs.sh PREFIX x86|x64 SCRIPT.vbs [ARGS...]
set -u
prefix=$1; arch=$2; script=$3; shift 3
. "$(dirname "$0")/env.sh"
use_japanese_locale
export WINEPREFIX=$prefix
if wineserver -p30 </dev/null >/dev/null 2>&1; then $WINE64 cmd /c exit </dev/null >/dev/null 2>&1; fi
loader=$WINE32; [ "$arch" = x64 ] && loader=$WINE64
out=$(timeout 120 "$loader" cscript //nologo "$(winepath -w "$script")" "$@" </dev/null 2>&1)
rc=$?
printf '%s\n' "$out" | tr -d '\r'
last=$(printf '%s\n' "$out" | tr -d '\r' | grep -v '^\s*$' | tail -n 1)
if [ $rc -ne 0 ] || [ "$last" != "ALL PASSED" ]; then
  echo "run-vbs: exit $rc, last line '$last'" >&2
  exit 1
fi
