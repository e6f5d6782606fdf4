#!/usr/bin/env bash
# Screenshots of the sample client under a virtual display: the form with its flat buttons, then
# the busy window over it during a run; the saved report converted to PDF (LibreOffice) and PNG
# pages (pdftoppm). Everything goes to $BUILD_ROOT/sample-screenshots/.
# Needs a build and the prefix (scripts/sample.sh makes both).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"

if [ -z "${DISPLAY:-}" ] || [ "${1:-}" != --inside ]; then
  exec xvfb-run -a -s '-screen 0 800x600x24' bash "$0" --inside
fi
use_japanese_locale
shots=$BUILD_ROOT/sample-screenshots
rm -rf "$shots"
mkdir -p "$shots"
shot() { xwd -root -silent -display "$DISPLAY" | convert xwd:- "$shots/$1"; }

wineserver -k 2>/dev/null || true
bash "$here/register.sh"
# /demo presses "帳票出力" two seconds after the form is shown; each page waits 2 s with the
# busy window animating.
timeout 120 $WINE32 "$BUILD_ROOT/x86/examples/report_sample.exe" /demo /page-pause 2000 \
  /out "$(winepath -w "$shots")" </dev/null >"$shots/run.log" 2>/dev/null &
pid=$!
for _ in $(seq 100); do
  xwininfo -root -tree -display "$DISPLAY" 2>/dev/null | grep -q '帳票出力サンプル' && break
  sleep 0.2
done
sleep 1
shot form.png
sleep 2.2
shot busy-window.png
wait $pid || true
wineserver -k 2>/dev/null || true
tr -d '\r' <"$shots/run.log"

report=$shots/sample_report.docx
if [ -f "$report" ]; then
  soffice --headless --convert-to pdf --outdir "$shots" "$report" >/dev/null 2>&1
  pdftoppm -png -r 60 "$shots/sample_report.pdf" "$shots/report-page"
fi
ls "$shots"
