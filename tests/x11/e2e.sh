#!/usr/bin/env bash
# The real program under Xvfb, driven with pointer and key events: a floor plan with a frame,
# 6 tatami, a door, an opening, a toilet, a car and a room name (again after the font dialog
# was confirmed unchanged), a line taken back with undo, the eraser through the car, one mat
# filled, a line released outside the surface, a refused size with its message, a line 20
# pixels wide after typing the size, and two mats filled with colours picked on the colour
# grid with the left and the right button; saved through the real file dialog and copied to
# the clipboard. The saved file and what another process reads from the clipboard must
# equal the same gestures replayed through the engine; the saved file opened through the
# real open dialog and saved again keeps its pixels. With every document closed, undo,
# tatami, Copy and Save do nothing, and Exit ends the program.
# Usage: e2e.sh <ranoveh> <x11_check> <artifact dir>
set -euo pipefail
APP=$1
CHECK=$2
ARTIFACTS=$3
. "$(dirname "$0")/lib.sh"
need Xvfb xdotool xclip import identify
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d /tmp/ranoveh-x11.XXXXXX)
trap cleanup EXIT

start_x
start_app "$APP"

cat >"$WORK/plan.txt" <<'PLAN'
tool ToolButton1
drag 40 40 400 280
tatami 2
tool ToolButton14
drag 120 44 180 104
tool ToolButton20
drag 250 276 330 276
tool ToolButton4
drag 450 60 500 100
tool ToolButton15
drag 450 140 540 300
text 和室
click 150 140
font
click 250 150
tool ToolButton2
drag 600 50 700 150
undo
tool ToolButton11
drag 446 90 506 190
panel
click 60 60
tool ToolButton2
drag 600 300 800 350
size 20
badsize x
tool ToolButton10
drag 100 400 300 440
grid 11 left
click 350 80
grid 9 right
rclick 350 200
PLAN
log "drawing"
run_script "$WORK/plan.txt"

log "saving as $WORK/plan"
save_as "$WORK/plan"
wait_for 10 test -s "$WORK/plan.BMP" || die "Save As wrote no $WORK/plan.BMP ($(ls "$WORK"))"
# The file is complete when its size stops changing.
sleep 0.3

log "copying to the clipboard"
drive copy
wait_for 10 sh -c "xclip -selection clipboard -t TARGETS -o | grep -q image/png" ||
  die "the clipboard offers no image/png"
xclip -selection clipboard -t image/png -o >"$WORK/clip.png"

cp "$WORK/plan.BMP" "$ARTIFACTS/e2e-saved.bmp"

# The saved file opened through the real open dialog into a second document and saved from
# there again gives the same file's pixels.
log "opening the saved file"
open_file "$WORK/plan.BMP"
save_as "$WORK/again"
wait_for 10 test -s "$WORK/again.BMP" || die "Save As after Open wrote no file"
sleep 0.3
import -window root "$ARTIFACTS/e2e.png"

log "version dialog"
menu_focus
xdotool key alt+h
sleep 0.3
xdotool key a
wait_dialog
title=$(xdotool getwindowname "$DIALOG")
[ "$title" = "ﾊﾞｰｼﾞｮﾝ情報" ] || die "the version dialog is captioned '$title'"
xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
sleep 0.3
xdotool key Return
wait_no_dialog

# With both documents closed, the commands that act on the surface drawn last find nothing
# to act on and must leave the program running.
log "commands after closing every document"
for _ in 1 2; do
  menu_focus
  xdotool key alt+f
  sleep 0.3
  xdotool key c
  sleep 0.3
done
import -window root "$ARTIFACTS/e2e-closed.png"
before=$(stat -c %Y.%s "$WORK/again.BMP")
drive undo
drive tatami 2
drive copy
menu_focus
xdotool key alt+f
sleep 0.3
xdotool key s
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || die "the program died after its documents were closed"
other_window >/dev/null && die "a window came up after its documents were closed"
[ "$(stat -c %Y.%s "$WORK/again.BMP")" = "$before" ] || die "Save wrote without a document"

# File > Exit ends the program at once, without a question, with two documents open.
log "exit"
menu_focus
xdotool key alt+f
sleep 0.3
xdotool key x
wait_for 10 sh -c "! kill -0 $APP_PID 2>/dev/null" || die "the program did not end on Exit"
status=0
wait "$APP_PID" || status=$?
[ "$status" -eq 0 ] || die "the program ended with status $status"

read -r OW OH <<<"$(identify -format '%w %h' "$WORK/plan.BMP")"
log "saved picture ${OW}x$OH, surface ${CW}x$CH"
# The first click grows the picture from the client area to the window's outer size.
[ "$OW" -gt "$CW" ] && [ "$OH" -gt "$CH" ] || die "saved picture is not the window's outer size"

"$CHECK" replay "$WORK/plan.txt" "$WORK/expected.png" "$CW" "$CH" "$OW" "$OH"
cp "$WORK/expected.png" "$ARTIFACTS/e2e-expected.png"
log "saved file against the engine"
"$CHECK" compare "$WORK/expected.png" "$WORK/plan.BMP" || die "the saved picture differs"
log "clipboard against the engine"
"$CHECK" compare "$WORK/expected.png" "$WORK/clip.png" || die "the clipboard picture differs"
log "opened and saved again against the first file"
"$CHECK" compare "$WORK/plan.BMP" "$WORK/again.BMP" || die "open and save changed the picture"
# Spot checks, so that the engine cannot agree with itself on a wrong picture: the wall,
# the filled mat and an unfilled one, the toilet's outline, the undone line, the white strip
# the first click added at the bottom right.
spots=(350,80=FFFF00 350,200=FF0000 200,420=000000 40,160=000000 60,60=008000 60,200=80FF80 480,60=000000 650,100=FFFFFF $((OW - 3)),$((OH - 3))=FFFFFF)
"$CHECK" pixels "$WORK/plan.BMP" "${spots[@]}" || die "the saved picture is not the plan"
"$CHECK" pixels "$WORK/clip.png" "${spots[@]}" || die "the clipboard picture is not the plan"
log "ok"
