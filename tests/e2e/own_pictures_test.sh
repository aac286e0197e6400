#!/usr/bin/env bash
# Pictures of one's own that the window cannot show whole: a 1920 x 1080 grid
# of 7-pixel cells shapes the window to its part inside the client area and
# the program lives on; a one-pixel checkerboard, whose shape Wine cannot
# send to X, is refused at once with an error box and the grid stays; a
# default grid can be chosen after it; a 54-byte file claiming a picture of
# 192 MiB is refused at once without taking that memory.
source "$(dirname "$0")/lib.sh"
e2e_begin

# Lines only: the program lays its own plate under the controls.
work="$SESSION_DIR/make"
mkdir -p "$work"
convert -size 7x7 xc:white -fill 'rgb(255,0,0)' -draw 'line 6,0 6,6' -draw 'line 0,6 6,6' "$work/cell.png"
convert -size 1920x1080 "tile:$work/cell.png" -type truecolor "BMP3:$E2E_DIR/RastelR.bmp"
convert -size 747x529 pattern:gray50 -type bilevel "BMP3:$E2E_DIR/RastelB.bmp"
# 54 bytes: a 40-byte header claiming 2051 x 32720 pixels of 24 bits, no pixels.
printf 'BM6\0\0\0\0\0\0\0006\0\0\0(\0\0\0\003\010\0\0\320\177\0\0\001\0\030\0' >"$E2E_DIR/RastelP8.bmp"
head -c 24 /dev/zero >>"$E2E_DIR/RastelP8.bmp"

e2e_start_main
e2e_check "the main window appears" test -n "$E2E_WIN"
[ -n "$E2E_WIN" ] || { e2e_end; exit 1; }
e2e_check "it starts with RastelS.bmp" e2e_poll 20 e2e_shape_is RastelS.bmp
pid=$(xprop -id "$E2E_WIN" _NET_WM_PID 2>/dev/null | sed -n 's/.* = //p')

eight() { e2e_pointer_away; e2e_click_client 657 53; }
# Opens the colour list; the keys that choose are sent by the caller, so the
# time from the choice can be taken. (The pointer leaves first: a --sync move
# to where it already is waits for nothing for seconds.)
open_colours() { e2e_pointer_away; e2e_open_colours; }
alive() { kill -0 "$E2E_APP_PID" 2>/dev/null && xwininfo -id "$E2E_WIN" >/dev/null 2>&1; }
box_text_is() { local t; t=$(e2e_probe boxes | sed -n 's/^text //p' | head -1); echo "box text: $t"; [ "$t" = "$1" ]; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status"; }

open_colours
xdotool key Down Down Return  # Red, 16升: the 1920 x 1080 picture
e2e_check "the 1920 x 1080 picture shapes the window to its visible part" \
  e2e_poll 20 e2e_shape_is RastelR.bmp
e2e_check "the program lives on, without an error box" e2e_holds 1.5 eval 'alive && e2e_no_box'

open_colours
start=$(now_ms)
xdotool key Up Return  # Black: the checkerboard
box=$(e2e_wait_window '^Rastel$' 10)
took=$(( $(now_ms) - start ))
# How long the refusal takes is reported, not judged: that is bench/'s part.
e2e_check "the checkerboard is refused with an error box (after ${took} ms)" test -n "$box"
e2e_check "saying この画像は形が細かすぎて表示できません." box_text_is "この画像は形が細かすぎて表示できません."
e2e_answer_box
e2e_check "after Return the box is gone" e2e_poll 5 e2e_no_box
e2e_check "the grid is still the 1920 x 1080 picture's" e2e_holds 1 e2e_shape_is RastelR.bmp
eight  # Black, 8升: a default picture
e2e_check "then a default grid can be chosen (RastelB8.bmp)" e2e_poll 20 e2e_shape_is RastelB8.bmp

if [ -n "$pid" ] && [ -r "/proc/$pid/status" ]; then
  before=$(peak_kb)
  open_colours
  start=$(now_ms)
  xdotool key Down Down Return  # Orchid, 8升: the 54-byte file
  box=$(e2e_wait_window '^Rastel$' 10)
  took=$(( $(now_ms) - start ))
  grown=$(( ($(peak_kb) - before) / 1024 ))
  e2e_check "the 54-byte file gets an error box (after ${took} ms)" test -n "$box"
  e2e_check "saying ビットマップイメージが不正です." box_text_is "ビットマップイメージが不正です."
  e2e_check "without taking the 192 MiB it claims (peak grew by ${grown} MiB)" test "$grown" -lt 32
  e2e_answer_box
  e2e_check "after Return the box is gone" e2e_poll 5 e2e_no_box
  e2e_check "the grid is still RastelB8.bmp" e2e_holds 1 e2e_shape_is RastelB8.bmp
else
  e2e_skip "the 54-byte file" "the program's process cannot be read (pid '${pid}')"
fi

e2e_main_info
e2e_click_client 713 33
e2e_check "\"終了\" ends the program" e2e_wait_exit 10
e2e_end
