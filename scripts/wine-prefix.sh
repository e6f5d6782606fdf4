#!/usr/bin/env bash
# Creates the project's Wine prefix (once) with the settings the components and tests need.
set -euo pipefail
. "$(dirname "$0")/env.sh"

if [ ! -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || [ -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]
fi

use_japanese_locale
stamp=$WINEPREFIX/.project-settings-v1
[ -f "$stamp" ] && exit 0

# A prefix made before wine32 was installed is broken beyond repair: start from scratch.
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
$WINE64 wineboot -i </dev/null >/dev/null 2>&1
wineserver -w

reg() { $WINE64 reg add "$@" /f </dev/null >/dev/null 2>&1; }
# X when DISPLAY is set, Wine's null driver otherwise.
reg 'HKCU\Software\Wine\Drivers' /v Graphics /d 'x11,null'
# A crash must end the program, not wait on a dialog.
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
# Japanese faces the components name, mapped to the IPA fonts Debian ships.
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ 明朝' /d IPAMincho
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐ明朝' /d IPAPMincho
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAPGothic
wineserver -w
touch "$stamp"
