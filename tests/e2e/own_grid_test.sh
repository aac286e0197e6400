#!/usr/bin/env bash
# A grid of one's own making: rastel-gridgen.exe, run as from a command
# prompt, puts a 10-pixel orange grid in place of RastelS.bmp, byte for byte
# what the native generator writes for the same options; Rastel starts on it
# and its window has that picture's shape and colours; Alt+F4 ends it.
source "$(dirname "$0")/lib.sh"
: "${RASTEL_GRIDGEN_EXE:=$RASTEL_BUILD_WIN/tools/rastel-gridgen.exe}"
[ -f "$RASTEL_GRIDGEN_EXE" ] || { echo "missing: $RASTEL_GRIDGEN_EXE (build both trees first)"; exit 1; }
e2e_begin

options=(--cell 10 --color '#ff8800' --only RastelS.bmp)
wine "$RASTEL_GRIDGEN_EXE" "${options[@]}" "$(winepath -w "$E2E_DIR" 2>/dev/null)" \
  </dev/null >"$SESSION_DIR/gridgen.out" 2>&1
e2e_check "rastel-gridgen.exe ${options[*]} FOLDER writes one picture" \
  grep -q '^1 grid image for every display scale' "$SESSION_DIR/gridgen.out"
"$RASTEL_GRIDGEN" "${options[@]}" "$SESSION_DIR/native" >/dev/null
e2e_check "the same bytes as the native generator's" cmp "$E2E_DIR/RastelS.bmp" "$SESSION_DIR/native/RastelS.bmp"

e2e_start_main
e2e_check "the main window appears" test -n "$E2E_WIN"
if [ -n "$E2E_WIN" ]; then
  e2e_check "its shape and colours are the orange grid's" e2e_poll 10 e2e_shape_is RastelS.bmp
  orange_line() { local c; read -r -a c < <(e2e_client_to_screen 9 5); [ "$("$RASTEL_E2E_X" pixel "${c[@]}")" = "255 136 0" ]; }
  e2e_check "a line 10 pixels from the left is orange" orange_line
  # Alt+F4 goes to the active window.
  active() { xdotool windowactivate "$E2E_WIN" 2>/dev/null; sleep 0.2; [ "$(xdotool getactivewindow 2>/dev/null)" = "$E2E_WIN" ]; }
  e2e_poll 10 active >/dev/null
  xdotool key --clearmodifiers alt+F4
  e2e_check "Alt+F4 ends it" e2e_wait_exit 20
fi
e2e_end
