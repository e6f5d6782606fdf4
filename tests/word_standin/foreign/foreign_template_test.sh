#!/usr/bin/env bash
# A template made by another word processor (soffice converts an HTML source to .docx) opens in
# the stand-in Word and its placeholders are found.
# usage: foreign_template_test.sh RUN_VBS PREFIX ARCH
set -euo pipefail
run_vbs=$1 prefix=$2 arch=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/foreign-template.XXXXXX)
trap 'rm -rf "$work"' EXIT
timeout 180 soffice -env:UserInstallation="file://$work/profile" --headless \
  --convert-to 'docx:MS Word 2007 XML' --outdir "$work" "$here/template.html" >"$work/soffice.log" 2>&1 ||
  { cat "$work/soffice.log" >&2; echo "soffice failed" >&2; exit 1; }
[ -s "$work/template.docx" ] || { echo "no template.docx" >&2; exit 1; }
bash "$run_vbs" "$prefix" "$arch" "$here/open_foreign.vbs" "$work/template.docx"
