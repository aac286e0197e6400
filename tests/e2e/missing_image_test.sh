#!/usr/bin/env bash
# Grid images that cannot be used: without RastelS.bmp the program says so in
# exactly one error box and then shows its window uncut; a later choice
# shapes it; a file missing or broken at a later choice gives its error box
# and the grid stays as it was.
source "$(dirname "$0")/lib.sh"
e2e_begin
rm "$E2E_DIR/RastelS.bmp"
e2e_start_app

box=$(e2e_wait_window '^Rastel$' 30)
e2e_check "an error box captioned \"Rastel\" appears" test -n "$box"
e2e_check "exactly one" test "$(e2e_box_count)" -eq 1

# box_says TEXT-PREFIX TEXT-SUFFIX: the box's message starts and ends so,
# with something in between (the system's text for the error).
box_says() {
  local out text
  out=$(e2e_probe boxes)
  text=$(sed -n 's/^text //p' <<<"$out" | head -1)
  echo "box text: $text"
  [ "${text#"$1"}" != "$text" ] && [ "${text%"$2"}" != "$text" ] && [ ${#text} -gt $(( ${#1} + ${#2} )) ]
}
box_is_error_ok() {
  local out; out=$(e2e_probe boxes)
  grep -q '^icon 1$' <<<"$out" && grep -q '^button OK$' <<<"$out" || { echo "$out"; return 1; }
}
path_of() { winepath -w "$E2E_DIR/$1" 2>/dev/null; }

e2e_check "it says: ファイル \"<full path of RastelS.bmp>\". <system text> は開けません." \
  box_says "ファイル \"$(path_of RastelS.bmp)\". " " は開けません."
e2e_check "with an icon and an OK button" box_is_error_ok

e2e_answer_box
E2E_WIN=$(e2e_wait_window '^Rastel .' 20) || E2E_WIN=""
e2e_check "after Return the main window appears" test -n "$E2E_WIN"
e2e_check "and no other error box follows" e2e_holds 1.5 e2e_no_box
[ -n "$E2E_WIN" ] || { e2e_end; exit 1; }
e2e_main_info

uncut() {
  e2e_main_info
  local shape; shape=$("$RASTEL_E2E_X" shape "$E2E_WIN" | head -3 | tr '\n' ' ')
  echo "region $M_REGION; $shape"
  [ "$M_REGION" = none ] && grep -q 'shaped 0' <<<"$shape"
}
e2e_check "the window is uncut (no region, no X shape)" uncut
framed() {
  local ext; ext=$(xprop -id "$E2E_WIN" _NET_FRAME_EXTENTS 2>/dev/null | sed 's/.*= //; s/,//g')
  echo "frame extents (left right top bottom): $ext"
  read -r l r t b <<<"$ext"
  [ "${t:-0}" -gt "${l:-0}" ] && [ "${l:-0}" -gt 0 ]
}
e2e_check "with its frame and caption bar" framed
client_colour() {  # the bare form at client 300, 300 and 5, 500 has the form colour
  local a b
  a=$("$RASTEL_E2E_X" pixel $((C_X + 300)) $((C_Y + 300)))
  b=$("$RASTEL_E2E_X" pixel $((C_X + 5)) $((C_Y + 500)))
  echo "client 300,300: $a; 5,500: $b"
  [ "$a" = "47 128 109" ] && [ "$b" = "47 128 109" ]
}
e2e_check "its client area shows the form colour" e2e_poll 3 client_colour
e2e_check "it is in the topmost band" e2e_above "$E2E_WIN"

e2e_click_client 657 53  # "8升"
e2e_check "choosing \"8升\" cuts the window to RastelS8.bmp" e2e_poll 20 e2e_shape_is RastelS8.bmp
e2e_check "without an error box" e2e_no_box

# A file missing at a later choice: its error, and the grid stays.
rm "$E2E_DIR/RastelSB8.bmp"
e2e_main_info
e2e_click_client 691 72  # "強調"
box=$(e2e_wait_window '^Rastel$' 10)
e2e_check "a missing RastelSB8.bmp gives one error box" test -n "$box" -a "$(e2e_box_count)" -eq 1
e2e_check "naming its full path" box_says "ファイル \"$(path_of RastelSB8.bmp)\". " " は開けません."
e2e_answer_box
e2e_check "after Return the box is gone" e2e_poll 5 e2e_no_box
e2e_check "the grid is still RastelS8.bmp" e2e_holds 1 e2e_shape_is RastelS8.bmp
checkbox=$(e2e_child_at 684 64 43 17)
case "$checkbox" in
  *check=*) e2e_check "\"強調\" keeps the new choice (checked)" grep -q 'check=1' <<<"$checkbox" ;;
  *) e2e_skip "\"強調\" keeps the new choice" "its state cannot be read: ${checkbox:-no control}" ;;
esac

# A file that is not a bitmap.
echo "not a bitmap" >"$E2E_DIR/RastelSBBig.bmp"
e2e_click_client 623 53  # "大" with "強調" on
box=$(e2e_wait_window '^Rastel$' 10)
e2e_check "a broken RastelSBBig.bmp gives one error box" test -n "$box" -a "$(e2e_box_count)" -eq 1
box_text_is() { local t; t=$(e2e_probe boxes | sed -n 's/^text //p' | head -1); echo "box text: $t"; [ "$t" = "$1" ]; }
e2e_check "saying ビットマップイメージが不正です." box_text_is "ビットマップイメージが不正です."
e2e_answer_box
e2e_check "after Return the box is gone" e2e_poll 5 e2e_no_box
e2e_check "the grid is still RastelS8.bmp" e2e_holds 1 e2e_shape_is RastelS8.bmp

e2e_main_info
e2e_click_client 713 33
e2e_check "\"終了\" ends the program" e2e_wait_exit 10
e2e_end
