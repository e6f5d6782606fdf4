#!/usr/bin/env bash
# Saves the report document through the stand-in (the round-trip test), converts the saved file
# to PDF with soffice and checks that its text is there: the file opens outside the stand-in.
# usage: save_convert_test.sh WINE_RUN PREFIX TEST_EXE
set -euo pipefail
wine_run=$1 prefix=$2 test_exe=$3
saved=$(dirname "$test_exe")/saved/report.docx

rm -f "$saved"
bash "$wine_run" "$prefix" "$test_exe" --gtest_filter=DocumentSaveTest.ReportRoundTripsThroughTheFile
[ -s "$saved" ] || { echo "no saved document at $saved" >&2; exit 1; }

# A profile of its own, so runs in parallel never share one.
work=$(mktemp -d /tmp/standin-convert.XXXXXX)
trap 'rm -rf "$work"' EXIT
timeout 180 soffice -env:UserInstallation="file://$work/profile" --headless \
  --convert-to pdf --outdir "$work" "$saved" >"$work/soffice.log" 2>&1 ||
  { cat "$work/soffice.log" >&2; echo "soffice failed" >&2; exit 1; }
pdftotext -layout "$work/report.pdf" "$work/report.txt"

status=0
expect() {  # expect WHAT PATTERN
  if grep -q -- "$2" "$work/report.txt"; then echo "ok: $1"; else echo "missing: $1 ($2)"; status=1; fi
}
expect "body text" "御見積書 No.42"
expect "text with markup characters" "合計 1,234 円 <税込> & 送料"
expect "table cell" "品名"
expect "text box" "氏名 #name#"
expect "text after the page break" "写真"
expect "header" "社外秘"
# The page number is right-aligned in the footer and left off the first page.
expect "page number of page 2" "^ *2 *$"
pages=$(pdfinfo "$work/report.pdf" | awk '/^Pages:/ {print $2}')
if [ "${pages:-0}" -ge 2 ]; then echo "ok: $pages pages"; else echo "missing: a second page"; status=1; fi
[ $status -eq 0 ] || { echo "--- text of the PDF"; cat "$work/report.txt"; }
exit $status
