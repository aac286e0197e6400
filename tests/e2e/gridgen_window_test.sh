#!/usr/bin/env bash
# rastel-gridgen.exe's window, as a new user meets it: started with no
# arguments (a double click) it opens; "8升", 10 x 8 cells and the diagonals,
# then "作成", write RastelS8.bmp beside it, byte for byte what the native
# generator writes for the same options, and Rastel started there shows that
# grid on "8升". A place holding a picture of one's own is refused with a box
# that says why, and the picture stays.
source "$(dirname "$0")/lib.sh"
: "${RASTEL_GRIDGEN_EXE:=$RASTEL_BUILD_WIN/tools/rastel-gridgen.exe}"
[ -f "$RASTEL_GRIDGEN_EXE" ] || { echo "missing: $RASTEL_GRIDGEN_EXE (build both trees first)"; exit 1; }
e2e_begin

cp "$RASTEL_GRIDGEN_EXE" "$E2E_DIR/"
(cd "$E2E_DIR" && exec wine ./rastel-gridgen.exe </dev/null >"$SESSION_DIR/gridgen.out" 2>&1) &
gridgen_pid=$!
win=$(e2e_wait_window '^rastel-gridgen ' 30)
e2e_check "started with no arguments, rastel-gridgen.exe opens its window" test -n "$win"
if [ -n "$win" ]; then
  probe() { e2e_probe "$1" "x:$win" "${@:2}" >/dev/null; }
  probe click 8升
  probe click 升の数
  probe settext 升の数 1 10
  probe settext 升の数 2 8
  probe click 対角線
  # The window shows the command it stands for.
  command_shown() { e2e_probe children "x:$win" | grep -- '--cells 10x8 --area 747x529 .* --diagonals --only RastelS8.bmp'; }
  e2e_check "it stands for 10 x 8 cells with diagonals in RastelS8.bmp" e2e_poll 10 command_shown
  probe click 作成
  "$RASTEL_GRIDGEN" --cells 10x8 --diagonals --only RastelS8.bmp "$SESSION_DIR/native" >/dev/null
  written() { cmp "$E2E_DIR/RastelS8.bmp" "$SESSION_DIR/native/RastelS8.bmp"; }
  e2e_check "\"作成\" writes RastelS8.bmp, the native generator's bytes" e2e_poll 10 written

  # "強調" makes the place RastelSB8.bmp, here a picture of one's own.
  convert -size 16x16 xc:white "BMP3:$E2E_DIR/RastelSB8.bmp"
  cp "$E2E_DIR/RastelSB8.bmp" "$SESSION_DIR/own.bmp"
  probe click 強調
  probe click 作成
  refusal() { e2e_probe boxes rastel-gridgen | grep 'RastelSB8.bmp は、このツールが書いた画像ではありません'; }
  e2e_check "a picture of one's own is refused with a box that says why" e2e_poll 10 refusal
  box=$(e2e_windows_named '^rastel-gridgen$' | head -1)
  [ -n "$box" ] && { xdotool windowactivate --sync "$box" 2>/dev/null; sleep 0.1; xdotool key Return; }
  e2e_check "and it stays as it was" cmp "$E2E_DIR/RastelSB8.bmp" "$SESSION_DIR/own.bmp"
  e2e_probe close "x:$win" >/dev/null
  ended() { ! kill -0 "$gridgen_pid" 2>/dev/null; }
  e2e_check "closing the window ends rastel-gridgen.exe" e2e_poll 10 ended
fi

e2e_start_main
e2e_check "Rastel's main window appears" test -n "$E2E_WIN"
if [ -n "$E2E_WIN" ]; then
  click_child() {  # click_child TEXT: a button of the control cluster
    local x y
    read -r x y < <(e2e_probe children "x:$E2E_WIN" | awk -v t="$1" '$1 == "child" && $2 == "Button" && $10 == t { print int($4 + $6 / 2), int($5 + $7 / 2); exit }')
    [ -n "$x" ] && e2e_click_client "$x" "$y"
  }
  click_child 8升
  e2e_check "\"8升\" shows the new grid: its shape and colours" e2e_poll 20 e2e_shape_is RastelS8.bmp
  e2e_check "no error box" e2e_no_box
  click_child 終了
  e2e_check "\"終了\" ends Rastel" e2e_wait_exit 10
fi
e2e_end
