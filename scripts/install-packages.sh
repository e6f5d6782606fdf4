#!/usr/bin/env bash
# Installs the Debian packages the build and the Wine test bed need. Fast when all are present.
set -euo pipefail

need=(cmake ninja-build mingw-w64 mingw-w64-tools libwine-dev wine wine64 xvfb xauth x11-apps
      imagemagick fonts-ipafont-gothic fonts-ipafont-mincho googletest libreoffice-writer-nogui
      poppler-utils libz-mingw-w64-dev locales)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' || missing+=(wine32:i386)

if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then $SUDO dpkg --add-architecture i386; fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
