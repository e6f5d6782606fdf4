# Sourced by the other scripts: where things are built and the environment Wine runs in.
# Everything lives in the build tree; nothing is written to ~/.wine.
export ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
export WINEPREFIX=$BUILD_ROOT/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LOCPATH=$BUILD_ROOT/locale
# The users' systems are Japanese (ANSI code page 932): Wine runs under that locale, generated
# into the build tree by wine-prefix.sh.
use_japanese_locale() { { export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null; }
WINE32=/usr/lib/wine/wine
WINE64=/usr/lib/wine/wine64
