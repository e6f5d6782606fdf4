#!/usr/bin/env bash
# The sample report as another word processor reads it: the batch run saves it through the
# stand-in Word, soffice converts it to PDF, and each page shows its expected text.
# usage: sample_pdf_test.sh WINE_RUN PREFIX REPORT_SAMPLE_EXE
set -euo pipefail
wine_run=$1 prefix=$2 sample=$3
work=$(mktemp -d /tmp/sample-pdf.XXXXXX)
trap 'rm -rf "$work"' EXIT

bash "$wine_run" "$prefix" "$sample" /batch /out "Z:${work//\//\\}" >"$work/run.log" 2>&1 ||
  { cat "$work/run.log" >&2; echo "the batch run failed" >&2; exit 1; }
[ -s "$work/sample_report.docx" ] || { echo "no report in $work" >&2; exit 1; }

timeout 180 soffice -env:UserInstallation="file://$work/profile" --headless \
  --convert-to pdf --outdir "$work" "$work/sample_report.docx" >"$work/soffice.log" 2>&1 ||
  { cat "$work/soffice.log" >&2; echo "soffice failed" >&2; exit 1; }
pdftotext "$work/sample_report.pdf" "$work/report.txt"

# pdftotext ends each page with a form feed: split the text into one file a page.
awk -v dir="$work" 'BEGIN { RS = "\f" } { f = dir "/page" NR ".txt"; printf "%s", $0 > f; close(f) }' \
  "$work/report.txt"
status=0
expect() {  # expect PAGE WHAT TEXT
  if grep -q -F -- "$3" "$work/page$1.txt" 2>/dev/null; then echo "ok: page $1 $2"
  else echo "missing on page $1: $2 ($3)"; status=1; fi
}
expect 1 "title" "御見積書"
expect 1 "customer field" "株式会社 山田製作所 御中"
expect 1 "page number" "1"
expect 2 "table item" "端子台"
expect 2 "ruby after the item" "たんしだい"
expect 3 "picture caption" "撮影: 営業部 山田"
expect 4 "text box field" "担当: 営業部 山田 太郎"
pages=$(pdfinfo "$work/sample_report.pdf" | awk '/^Pages:/ {print $2}')
if [ "${pages:-0}" -eq 4 ]; then echo "ok: 4 pages"; else echo "expected 4 pages, got ${pages:-none}"; status=1; fi
if grep -q '#' "$work/report.txt"; then echo "a placeholder is left"; status=1; fi
[ $status -eq 0 ] || { echo "--- text of the PDF"; cat "$work/report.txt"; }
exit $status
