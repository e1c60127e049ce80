#!/usr/bin/env bash
# Printing from the real program to a real printer: starts the CUPS scheduler with a PDF
# printer as the default, draws a plan under Xvfb, saves it, cancels the real print dialog
# once and then confirms it with Return, and checks the PDF the printer wrote: one A4 page
# with the saved picture 7.0556 mm from the left and top edges at 96 pixels per inch.
# Usage: print.sh <ranoveh> <x11_check> <artifact dir>   (as root: it starts cupsd)
set -euo pipefail
APP=$1
CHECK=$2
ARTIFACTS=$3
. "$(dirname "$0")/lib.sh"
need Xvfb xdotool import identify flock cupsd lpadmin lpstat lpoptions pdfinfo pdftoppm
[ -x /usr/lib/cups/backend/cups-pdf ] || { echo "SKIP: no cups-pdf backend"; exit $SKIP; }
[ "$(id -u)" -eq 0 ] || { echo "SKIP: starting cupsd needs root"; exit $SKIP; }
# The scheduler and the printer are the machine's: one print check at a time, also across
# build directories.
exec 9>/tmp/ranoveh-x11-print.lock
flock -w 60 9 || die "another print check holds the lock"
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d /tmp/ranoveh-x11.XXXXXX)
PRINTER=RanovehPDF
# The user's printer options are put back as they were; the PDF goes to the artifacts.
LPOPTIONS="$HOME/.cups/lpoptions"
[ -e "$LPOPTIONS" ] && cp -p "$LPOPTIONS" "$WORK/lpoptions.saved"
stop_printing() {
  lpadmin -x "$PRINTER" >/dev/null 2>&1 || true
  if [ -e "$WORK/lpoptions.saved" ]; then cp -p "$WORK/lpoptions.saved" "$LPOPTIONS"
  else rm -f "$LPOPTIONS"; fi
  [ -n "${pdf:-}" ] && rm -f "$pdf"
  cleanup
}
trap stop_printing EXIT

# The scheduler: ours unless one already runs (that one is left running).
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  cupsd -f >"$WORK/cupsd.log" 2>&1 &
  PIDS+=($!)
  wait_for 10 sh -c "lpstat -r 2>/dev/null | grep -q 'is running'" || die "cupsd did not start"
fi
lpadmin -p "$PRINTER" -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=A4 \
  2>/dev/null || die "cannot add the PDF printer"
lpadmin -d "$PRINTER"
lpoptions -d "$PRINTER" >/dev/null
log "default printer: $(lpstat -d)"

# Where cups-pdf writes: its configured Out directory for root, and the usual places.
out_dirs=("$HOME/PDF" /root/PDF /var/spool/cups-pdf/ANONYMOUS)
if [ -r /etc/cups/cups-pdf.conf ]; then
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -1)
  [ -n "$out" ] && out_dirs+=("${out//\$\{HOME\}//root}")
fi
touch "$WORK/marker"
new_pdf() {
  find "${out_dirs[@]}" -maxdepth 1 -name '*.pdf' -newer "$WORK/marker" 2>/dev/null | head -1 |
    grep .
}

start_x
start_app "$APP"
cat >"$WORK/plan.txt" <<'PLAN'
tool ToolButton1
drag 30 30 330 230
tatami 2
tool ToolButton15
drag 380 60 470 220
PLAN
run_script "$WORK/plan.txt"
save_as "$WORK/plan"
wait_for 10 test -s "$WORK/plan.BMP" || die "Save As wrote no file"
cp "$WORK/plan.BMP" "$ARTIFACTS/print-saved.bmp"

# File > Print: New, Open, Close, Save, Save As, Print is the sixth item. Answers the
# print dialog with the given key.
print_answering() {
  menu_focus
  xdotool key alt+f
  sleep 0.3
  xdotool key Down Down Down Down Down Return
  wait_dialog
  log "print dialog: $(xdotool getwindowname "$DIALOG"), answered with $1"
  timeout 5 xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
  sleep 0.5
  xdotool key "$1"
  wait_no_dialog
}
# Cancelled first: that must print nothing (checked by counting the PDFs at the end).
print_answering Escape
print_answering Return
wait_for 40 new_pdf || die "the printer wrote no PDF in ${out_dirs[*]}"
pdf=$(new_pdf)
# The file is complete once cups-pdf has finished the job.
wait_for 20 sh -c "lpstat -o $PRINTER 2>/dev/null | grep -q . && exit 1 || exit 0"
sleep 0.5
cp "$pdf" "$ARTIFACTS/print.pdf"
log "printed $pdf"
count=$(find "${out_dirs[@]}" -maxdepth 1 -name '*.pdf' -newer "$WORK/marker" 2>/dev/null |
  sort -u | wc -l)
[ "$count" -eq 1 ] || die "$count PDFs printed, expected 1 (the cancelled dialog printed?)"

info=$(pdfinfo "$pdf")
echo "$info" | grep -E '^(Pages|Page size):'
echo "$info" | grep -q '^Pages: *1$' || die "not one page"
# A4 is 595.28 x 841.89 points.
echo "$info" | grep -Eq '^Page size: *59[45](\.[0-9]+)? x 84[12](\.[0-9]+)? pts' || die "not A4"
pdftoppm -r 96 -png -singlefile "$pdf" "$WORK/page"
cp "$WORK/page.png" "$ARTIFACTS/print-page.png"
"$CHECK" page "$WORK/page.png" "$WORK/plan.BMP" 96 || die "the page does not show the picture"
log "ok"
