# Shared by the X11 scripts: a private Xvfb, the program in it, and ways to drive it.
# Coordinates: the main window is sized to the whole 1280x1024 screen at 0,0; the surface
# and the speed panel are found on a screenshot (x11_check locate), the tool bar sits above
# the 19-pixel status bar at the bottom.

SKIP=77
SCREEN_W=1280
SCREEN_H=1024

need() {
  local t
  for t in "$@"; do
    if ! command -v "$t" >/dev/null 2>&1; then
      echo "SKIP: $t is not installed"
      exit $SKIP
    fi
  done
}

log() { echo "[$(date +%H:%M:%S)] $*"; }
die() {
  echo "FAIL: $*" >&2
  if [ -s "${WORK:-}/app.log" ]; then
    echo "--- program output:" >&2
    cat "$WORK/app.log" >&2
  fi
  exit 1
}

# Polls `cmd` every 0.1 s for up to `secs` seconds.
wait_for() {
  local secs=$1
  shift
  local i
  for ((i = 0; i < secs * 10; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

PIDS=()
# Stops what the script started, newest first; a process that ignores TERM gets KILL.
stop_pid() {
  local p=$1 i
  kill "$p" 2>/dev/null || return 0
  for ((i = 0; i < 30; i++)); do
    kill -0 "$p" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$p" 2>/dev/null || true
}
cleanup() {
  local i
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do stop_pid "${PIDS[i]}"; done
  [ -n "${WORK:-}" ] && rm -rf "$WORK"
  return 0
}

# Qt wants a private runtime directory.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# Starts Xvfb on a free display (it reports the number itself, no guessing) and sets DISPLAY.
start_x() {
  local fifo="$WORK/displayfd"
  : >"$fifo"
  Xvfb -displayfd 5 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset \
    5>"$fifo" >"$WORK/xvfb.log" 2>&1 &
  PIDS+=($!)
  wait_for 10 grep -q '[0-9]' "$fifo" || die "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(tr -dc 0-9 <"$fifo")"
  unset XAUTHORITY
  log "X display $DISPLAY"
}

# Starts the program, gives its main window the whole screen and finds the first document's
# surface and the speed panel: sets SX SY CW CH (surface on screen and its size) and PANEL.
start_app() {
  local app=$1
  QT_QPA_PLATFORM=xcb "$app" >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  PIDS+=($APP_PID)
  MAIN_WIN=$(timeout 20 xdotool search --sync --onlyvisible --name '^Ranoveh$' | head -1) || true
  [ -n "$MAIN_WIN" ] || die "no main window"
  xdotool windowmove --sync "$MAIN_WIN" 0 0
  xdotool windowsize --sync "$MAIN_WIN" $SCREEN_W $SCREEN_H
  # Wait until the new layout is on the screen: the same answer twice in a row.
  local found="" previous="" i
  for ((i = 0; i < 50; i++)); do
    sleep 0.2
    import -window root "$WORK/start.png"
    found=$("$CHECK" locate "$WORK/start.png" 2>/dev/null) || found=""
    [ -n "$found" ] && [ "$found" = "$previous" ] && break
    previous=$found
    found=""
  done
  [ -n "$found" ] || die "the program shows no empty surface"
  read -r SX SY CW CH PANEL <<<"$found"
  log "surface at $SX,$SY size ${CW}x$CH, speed panel at y=$PANEL"
  TOOLBAR_Y=$((SCREEN_H - 19 - 35 + 2 + 15))
}

# Tool bar button centres (left, width of each as laid out on ToolBar1).
declare -A TOOL_X=(
  [ToolButton1]=11 [ToolButton6]=34 [ToolButton3]=57 [ToolButton20]=80 [ToolButton4]=103
  [ToolButton16]=126 [ToolButton2]=149 [ToolButton5]=172 [ToolButton7]=195 [ToolButton8]=218
  [ToolButton14]=241 [ToolButton19]=264 [ToolButton15]=287 [ToolButton21]=310
  [ToolButton11]=357 [ToolButton10]=380
)

click_at() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.15
}

# A visible top-level window of the program other than the main window, or nothing.
other_window() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    [ "$w" = "$MAIN_WIN" ] && continue
    local g
    g=$(xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: //p')
    [ "${g%x*}" -gt 50 ] && { echo "$w"; return 0; }
  done
  return 1
}

wait_dialog() {
  local i
  for ((i = 0; i < 100; i++)); do
    DIALOG=$(other_window) && return 0
    sleep 0.1
  done
  die "no dialog appeared"
}

# Keys for the menu bar go to the main window. Without a window manager the X focus does
# not come back by itself after a dialog closes.
menu_focus() {
  xdotool mousemove 640 $((PANEL + 20))
  timeout 5 xdotool windowfocus --sync "$MAIN_WIN" || true
  sleep 0.2
}

# Runs one line of a gesture script (see x11_check.cpp) on the real program.
drive() {
  local op=$1
  shift
  case "$op" in
  tool) click_at "${TOOL_X[$1]}" "$TOOLBAR_Y" ;;
  drag)
    xdotool mousemove $((SX + $1)) $((SY + $2))
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    xdotool mousemove $((SX + ($1 + $3) / 2)) $((SY + ($2 + $4) / 2))
    sleep 0.1
    xdotool mousemove $((SX + $3)) $((SY + $4))
    sleep 0.1
    xdotool mouseup 1
    sleep 0.15
    ;;
  click)
    click_at $((SX + $1)) $((SY + $2))
    ;;
  rclick)
    xdotool mousemove $((SX + $1)) $((SY + $2)) click 3
    sleep 0.15
    ;;
  grid)
    # ColorGrid1: 8 columns of 23 and 2 rows of 15 pixels, at 488 on the tool bar.
    local button=1
    [ "$2" = right ] && button=3
    xdotool mousemove $((488 + $1 % 8 * 23 + 11)) $((SCREEN_H - 19 - 35 + 2 + $1 / 8 * 15 + 7)) \
      click $button
    sleep 0.15
    ;;
  tatami)
    # RadioGroup1 starts at item 2 ("6"); only that one is used here.
    [ "$1" = 2 ] || die "tatami $1 not supported by the driver"
    click_at 272 $((PANEL + 20))
    ;;
  text)
    click_at 520 $((PANEL + 42))
    xdotool key ctrl+a
    xdotool type --delay 50 "$*"
    sleep 0.2
    ;;
  undo) click_at 72 $((PANEL + 20)) ;;
  size)
    click_at 400 $((SCREEN_H - 19 - 35 + 7 + 10))
    xdotool key ctrl+a
    xdotool type --delay 50 "$1"
    sleep 0.2
    ;;
  badsize)
    click_at 400 $((SCREEN_H - 19 - 35 + 7 + 10))
    xdotool key ctrl+a
    xdotool type "$1"
    wait_dialog
    local title
    title=$(xdotool getwindowname "$DIALOG")
    [ "$title" = "Ranoveh" ] || die "the message box is captioned '$title'"
    timeout 5 xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
    sleep 0.3
    xdotool key Return
    wait_no_dialog
    ;;
  font)
    click_at 573 $((PANEL + 17))
    wait_dialog
    timeout 5 xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
    sleep 0.3
    xdotool key Return
    wait_no_dialog
    ;;
  # Panel3's own border, left of Panel4 which sits inside it.
  panel) click_at 452 $((SCREEN_H - 19 - 35 + 2 + 3)) ;;
  copy)
    menu_focus
    xdotool key alt+e
    sleep 0.3
    xdotool key c
    sleep 0.3
    ;;
  *) die "unknown script line $op" ;;
  esac
}

run_script() {
  local line
  while read -r line; do
    [ -z "$line" ] || [ "${line:0:1}" = "#" ] && continue
    drive $line
  done <"$1"
}

# Waits until no dialog is showing any more.
wait_no_dialog() {
  local i
  for ((i = 0; i < 100; i++)); do
    other_window >/dev/null || return 0
    sleep 0.1
  done
  die "a dialog stays open"
}

# File > Open through the real dialog: an absolute name and Return.
open_file() {
  menu_focus
  xdotool key alt+f
  sleep 0.3
  xdotool key o
  wait_dialog
  timeout 5 xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
  wait_no_dialog
}

# File > Save As through the real dialog: types an absolute name and presses Return.
save_as() {
  local name=$1
  menu_focus
  xdotool key alt+f
  sleep 0.3
  xdotool key a
  wait_dialog
  timeout 5 xdotool windowfocus --sync "$DIALOG" 2>/dev/null || true
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 20 "$name"
  xdotool key Return
  wait_no_dialog
}
