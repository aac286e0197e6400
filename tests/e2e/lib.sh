# Shared helpers of the end-to-end tests: a private session, a folder of the
# default grid images, the real rastel.exe started there and driven with
# xdotool. Each test file sources this and calls e2e_begin.
#
# Seeing the program from outside:
# - X (xdotool, xprop, xwininfo, tools/rastel-e2e-x): titles, the band
#   (_NET_WM_STATE_ABOVE), the window's bounding shape, screen pixels.
# - Inside Wine (tools/rastel-e2e-probe.exe, run in the same session): the
#   window and client rectangles as Windows has them, the window region,
#   child controls, the text of message boxes.
# Client coordinates become screen coordinates by adding the client area's
# screen origin, which the probe reads with ClientToScreen(0, 0) on the main
# window (C_X, C_Y after e2e_main_info). Wine draws the frame of a shaped
# window itself, so then the X window covers the whole outer rectangle.
set -uo pipefail
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$E2E_ROOT/scripts/lib/session.sh"

: "${RASTEL_EXE:=$E2E_ROOT/build/win/app/rastel.exe}"
: "${RASTEL_GRIDGEN:=$E2E_ROOT/build/native/tools/rastel-gridgen}"
: "${RASTEL_BUILD_WIN:=$E2E_ROOT/build/win}"
: "${RASTEL_E2E_X:=$(dirname "$RASTEL_GRIDGEN")/../tests/e2e/tools/rastel-e2e-x}"
: "${RASTEL_E2E_PROBE:=$RASTEL_BUILD_WIN/tests/e2e/tools/rastel-e2e-probe.exe}"

# The main window's exact title (full-width opening parenthesis).
E2E_TITLE="Rastel （Ver 2.12.13)"

E2E_FAILS=0
E2E_CHECKS=0
E2E_SKIPS=0
E2E_APP_PID=""
E2E_DIR=""
E2E_WIN=""

e2e_check() {  # e2e_check "what" command...   (the command's output is shown when it fails)
  local what="$1" out rc; shift
  E2E_CHECKS=$((E2E_CHECKS + 1))
  out=$("$@" 2>&1); rc=$?
  if [ $rc -eq 0 ]; then
    echo "  ok: $what"
  else
    echo "  FAIL: $what"
    [ -n "$out" ] && printf '%s\n' "$out" | sed 's/^/      /'
    E2E_FAILS=$((E2E_FAILS + 1))
    e2e_evidence "$what"
  fi
  return $rc
}

e2e_skip() {  # e2e_skip "what" "why"
  E2E_SKIPS=$((E2E_SKIPS + 1))
  echo "  SKIP: $1 ($2)"
}

# A screenshot per failed check when E2E_SHOTS names a folder.
e2e_evidence() {
  [ -n "${E2E_SHOTS:-}" ] && [ -n "${DISPLAY:-}" ] || return 0
  mkdir -p "$E2E_SHOTS"
  local name
  name="$(basename "$0" .sh)-$E2E_CHECKS-$(printf '%s' "$1" | tr -c 'A-Za-z0-9' '_' | cut -c1-40).png"
  import -window root "$E2E_SHOTS/$name" 2>/dev/null && echo "      screenshot: $E2E_SHOTS/$name"
}

_e2e_deadline() {  # _e2e_deadline SECONDS (may be fractional): prints now + SECONDS in ns
  echo $(( $(date +%s%N) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }') * 1000000 ))
}

# e2e_poll SECONDS command...: runs the command every 0.1 s until it succeeds
# or the time is up; prints the last run's output.
e2e_poll() {
  local out="" end; end=$(_e2e_deadline "$1"); shift
  while :; do
    out=$("$@" 2>&1) && { [ -n "$out" ] && printf '%s\n' "$out"; return 0; }
    [ "$(date +%s%N)" -ge "$end" ] && break
    sleep 0.1
  done
  [ -n "$out" ] && printf '%s\n' "$out"
  return 1
}

# e2e_holds SECONDS command...: the command succeeds on every run for the
# whole time (checks that something stays as it is).
e2e_holds() {
  local end; end=$(_e2e_deadline "$1"); shift
  while [ "$(date +%s%N)" -lt "$end" ]; do
    "$@" || return 1
    sleep 0.1
  done
}

e2e_begin() {  # e2e_begin [dpi]
  local t
  for t in "$RASTEL_EXE" "$RASTEL_GRIDGEN" "$RASTEL_E2E_X" "$RASTEL_E2E_PROBE"; do
    [ -x "$t" ] || [ -f "$t" ] || { echo "missing: $t (build both trees first)"; exit 1; }
  done
  session_start "${1:-96}" || exit 1
  E2E_DIR="$SESSION_DIR/run"
  mkdir -p "$E2E_DIR"
  "$RASTEL_GRIDGEN" "$E2E_DIR" >/dev/null || { echo "gridgen failed"; exit 1; }
  cp "$RASTEL_EXE" "$E2E_DIR/"
}

# Starts rastel.exe in the run folder; sets E2E_APP_PID.
e2e_start_app() {
  (cd "$E2E_DIR" && exec wine ./rastel.exe </dev/null >/dev/null 2>&1) &
  E2E_APP_PID=$!
}

# The visible X windows whose title matches REGEX, one id per line, leaving
# out the application's window: titled "Rastel" like the error boxes, but of
# no size (X gives it 1 x 1) and never seen.
e2e_windows_named() {
  local id
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
    [ "$(e2e_x_size "$id")" = "1 1" ] || echo "$id"
  done
}

# Prints the X window id of the first window whose title matches REGEX,
# waiting up to SECONDS (default 20).
e2e_wait_window() {
  local regex="$1" seconds="${2:-20}" id="" i
  for i in $(seq $((seconds * 10))); do
    id=$(e2e_windows_named "$regex" | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Starts the program and waits for its main window (title "Rastel " + more;
# a message box is titled "Rastel" alone). Sets E2E_WIN and the main window's
# state (e2e_main_info). Returns 1 when no window appears.
e2e_start_main() {
  e2e_start_app
  E2E_WIN=$(e2e_wait_window '^Rastel .' 30) || { E2E_WIN=""; return 1; }
  e2e_poll 5 e2e_main_info >/dev/null
  e2e_main_info
}

# Waits up to SECONDS for the app process to end.
e2e_wait_exit() {
  local seconds="${1:-20}" i
  for i in $(seq $((seconds * 10))); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || { wait "$E2E_APP_PID" 2>/dev/null; return 0; }
    sleep 0.1
  done
  return 1
}

e2e_end() {
  echo "  $E2E_CHECKS checks, $E2E_FAILS failed, $E2E_SKIPS skipped"
  session_stop
  [ "$E2E_FAILS" -eq 0 ]
}

# --- inside Wine ---------------------------------------------------------

e2e_probe() {  # e2e_probe ARGS...: the probe's output, without carriage returns
  wine "$RASTEL_E2E_PROBE" "$@" </dev/null 2>/dev/null | tr -d '\r'
}

# e2e_info WHICH PREFIX: reads a window's state into PREFIX_LEFT, _TOP,
# _RIGHT, _BOTTOM (outer rectangle), PREFIX_CX, _CY, _CW, _CH (client origin
# on the screen and client size), PREFIX_TOPMOST, _ZOOMED, _ICONIC, _VISIBLE,
# _REGION ("none" or the rectangle count), _LAYERED ("none" or the alpha),
# _CLICKTHROUGH, _TITLE.
e2e_info() {
  local which="$1" p="$2" out key a b c d
  out=$(e2e_probe info "$which") || return 1
  while read -r key a b c d; do
    case "$key" in
      window) printf -v "${p}_LEFT" %s "$a"; printf -v "${p}_TOP" %s "$b"
              printf -v "${p}_RIGHT" %s "$c"; printf -v "${p}_BOTTOM" %s "$d" ;;
      client) printf -v "${p}_CX" %s "$a"; printf -v "${p}_CY" %s "$b"
              printf -v "${p}_CW" %s "$c"; printf -v "${p}_CH" %s "$d" ;;
      topmost) printf -v "${p}_TOPMOST" %s "$a" ;;
      layered) printf -v "${p}_LAYERED" %s "$a" ;;
      clickthrough) printf -v "${p}_CLICKTHROUGH" %s "$a" ;;
      zoomed) printf -v "${p}_ZOOMED" %s "$a" ;;
      iconic) printf -v "${p}_ICONIC" %s "$a" ;;
      visible) printf -v "${p}_VISIBLE" %s "$a" ;;
      region) printf -v "${p}_REGION" %s "$a" ;;
    esac
  done <<<"$out"
  printf -v "${p}_TITLE" %s "$(sed -n 's/^title //p' <<<"$out")"
}

# The main window's state as M_* (see e2e_info); C_X, C_Y: its client origin.
e2e_main_info() {
  e2e_info "x:$E2E_WIN" M || return 1
  C_X=$M_CX; C_Y=$M_CY
}

e2e_main_pos() {  # prints "LEFT TOP" of the main window's outer rectangle
  e2e_main_info || return 1
  echo "$M_LEFT $M_TOP"
}

# e2e_main_at LEFT TOP: the main window stands there, as Windows and as X see it.
e2e_main_at() {
  local want="$1 $2" xpos
  e2e_main_info || { echo "main window gone"; return 1; }
  xpos=$(e2e_x_origin "$E2E_WIN")
  [ "$M_LEFT $M_TOP" = "$want" ] && [ "$xpos" = "$want" ] && return 0
  echo "main window at $M_LEFT $M_TOP (X: $xpos), expected $want"
  return 1
}

# --- X side --------------------------------------------------------------

e2e_x_origin() {  # prints the screen position of an X window's top-left corner
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'
}

e2e_x_size() {
  xwininfo -id "$1" 2>/dev/null | awk '/^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print w, h}'
}

e2e_above() {  # e2e_above WIN: the window is in the topmost band
  xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q '_NET_WM_STATE_ABOVE'
}

e2e_not_above() { ! e2e_above "$1"; }

# e2e_stacked_above A B: X window A is in front of B (the window manager's
# stacking list runs from bottom to top).
e2e_stacked_above() {
  local list id n=0 ia="" ib=""
  list=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  for id in $list; do
    n=$((n + 1))
    [ $((id)) -eq $(($1)) ] && ia=$n
    [ $((id)) -eq $(($2)) ] && ib=$n
  done
  [ -n "$ia" ] && [ -n "$ib" ] && [ "$ia" -gt "$ib" ] || { echo "stacking (bottom to top): $list"; return 1; }
}

# The top-level window (direct child of the root) that holds WIN: the window
# manager's frame, or WIN itself.
e2e_frame_of() {
  local id="${1:-0}" parent root
  [ "$((id))" -ne 0 ] || return 1
  root=$(xwininfo -root | awk '/Window id:/{print $4}')
  while :; do
    parent=$(xwininfo -children -id "$id" 2>/dev/null | awk '/Parent window id:/{print $4}')
    [ -z "$parent" ] && break
    [ "$((parent))" -eq "$((root))" ] && break
    id=$parent
  done
  printf '%d\n' "$id"
}

# The top-level window under the screen point X Y (the pointer is moved there).
# Prints nothing when the pointer is over the root alone or xdotool failed.
e2e_top_under() {
  local win
  xdotool mousemove --sync "$1" "$2" 2>/dev/null
  win=$(xdotool getmouselocation --shell 2>/dev/null | sed -n 's/^WINDOW=//p')
  [ -n "$win" ] && e2e_frame_of "$win"
}

# The client rectangle (left top right bottom, inclusive) the program's plate
# may cover: the controls' bounds and a margin of 9 pixels at 96 dpi, scaled
# with the window, and one more. Left out when the window is compared with
# a grid image.
e2e_plate_box() {
  e2e_probe children "x:$E2E_WIN" | awk -v cw="$M_CW" '$1 == "child" {
      x1 = $4 + $6 - 1; y1 = $5 + $7 - 1
      if (n++ == 0 || $4 < l) l = $4; if (n == 1 || $5 < t) t = $5
      if (x1 > r) r = x1; if (y1 > b) b = y1 }
    END { m = int(9 * cw / 747 + 0.5) + 1; print l - m, t - m, r + m, b + m }'
}

# e2e_shape_is FILE: the main window's bounding shape is FILE's solid pixels
# laid at the client origin, as far as the client area shows them, and the
# screen shows FILE's colours there (both outside the plate).
e2e_shape_is() {
  local box
  e2e_main_info || { echo "main window gone"; return 1; }
  box=$(e2e_plate_box)
  # shellcheck disable=SC2086
  "$RASTEL_E2E_X" match "$E2E_WIN" "$E2E_DIR/$1" "$C_X" "$C_Y" "$M_CW" "$M_CH" $box
}

# --- input ---------------------------------------------------------------

e2e_client_to_screen() {  # e2e_client_to_screen X Y (main window client coordinates)
  echo "$((C_X + $1)) $((C_Y + $2))"
}

# e2e_click SX SY [BUTTON]: a click at a screen point; the pointer arrives
# first so the program sees it enter.
e2e_click() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.1
  xdotool click "${3:-1}"
}

e2e_click_client() {  # e2e_click_client X Y [BUTTON] on the main window
  e2e_main_info || return 1
  e2e_click $((C_X + $1)) $((C_Y + $2)) "${3:-1}"
}

# e2e_open_colours: clicks the colour list (614, 62, 70 x 20) open and waits
# until it is, so keys sent next reach the list however loaded the machine.
e2e_open_colours() {
  e2e_click_client 649 72 || return 1
  local i
  for i in $(seq 20); do
    e2e_probe children main | grep -q '^child ComboBox .*dropped=1' && return 0
    sleep 0.15
  done
  echo "the colour list did not open" >&2
  return 1
}

# e2e_double_click SX SY [BUTTON]
e2e_double_click() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.1
  xdotool click --repeat 2 --delay 60 "${3:-1}"
}

# e2e_drag SX SY DX DY [BUTTON]: press, hold, move by DX DY, release. The
# hold lets the program see the button down before the pointer moves.
e2e_drag() {
  local b="${5:-1}"
  xdotool mousemove --sync "$1" "$2"
  sleep 0.1
  xdotool mousedown "$b"
  sleep 0.2
  xdotool mousemove --sync $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 ))
  sleep 0.1
  xdotool mousemove --sync $(( $1 + $3 )) $(( $2 + $4 ))
  sleep 0.2
  xdotool mouseup "$b"
  sleep 0.1
}

# Moves the pointer to a screen corner where no program window is.
e2e_pointer_away() { xdotool mousemove --sync 2 2; }

# --- message boxes ----------------------------------------------------------

e2e_box_count() {  # visible windows titled exactly "Rastel" (the program's error boxes)
  e2e_windows_named '^Rastel$' | wc -l
}

e2e_no_box() { [ "$(e2e_box_count)" -eq 0 ]; }

# e2e_answer_box: presses Return in the first error box.
e2e_answer_box() {
  local box
  box=$(e2e_windows_named '^Rastel$' | head -1)
  [ -n "$box" ] || return 1
  xdotool windowactivate --sync "$box" 2>/dev/null
  sleep 0.1
  xdotool key Return
}

# e2e_child_at X Y W H: prints the probe's line for the main window's child
# with that client rectangle ("child CLASS ID X Y W H VISIBLE STATE TEXT").
e2e_child_at() {
  e2e_probe children "x:$E2E_WIN" | awk -v r="$1 $2 $3 $4" '$1 == "child" && ($4 " " $5 " " $6 " " $7) == r { print; exit }'
}
