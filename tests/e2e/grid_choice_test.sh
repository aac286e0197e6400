#!/usr/bin/env bash
# Choosing the grid with the control cluster: the colour list, the size
# buttons "大" "8升" "16升" and "強調" each switch the window's shape and
# pixels to the catalogue's file for the new choice.
source "$(dirname "$0")/lib.sh"
e2e_begin
e2e_start_main
e2e_check "the main window appears" test -n "$E2E_WIN"
[ -n "$E2E_WIN" ] || { e2e_end; exit 1; }
e2e_check "it starts with RastelS.bmp (SkyBlue, 16升)" e2e_poll 20 e2e_shape_is RastelS.bmp

# Client points inside the controls.
big() { e2e_click_client 623 53; }      # "大"   616, 46, 33 x 15
eight() { e2e_click_client 657 53; }    # "8升"  650, 46, 35 x 15
sixteen() { e2e_click_client 693 53; }  # "16升" 686, 46, 41 x 15
emphasis() { e2e_click_client 691 72; } # "強調" 684, 64, 43 x 17
# colour KEYS...: opens the colour list (614, 62, 70 x 20), moves with the keys, closes it.
colour() {
  e2e_open_colours
  xdotool key "$@"
  sleep 0.1
}

shows() {  # shows "what" FILE: after the action the window is FILE's
  e2e_check "$1 -> $2" e2e_poll 20 e2e_shape_is "$2"
  e2e_check "no error box" e2e_no_box
}

eight;                   shows "\"8升\"" RastelS8.bmp
colour Down Down Return; shows "colour Red" RastelR8.bmp
emphasis;                shows "\"強調\" on" RastelRB8.bmp
big;                     shows "\"大\"" RastelRBBig.bmp
colour Down Down Return; shows "colour TateGata" RastelSTate3Big.bmp
emphasis;                shows "\"強調\" off (TateGata ignores it)" RastelSTate3Big.bmp
sixteen;                 shows "\"16升\"" RastelSTateBig.bmp
eight;                   shows "\"8升\"" RastelSTate2Big.bmp
colour Up Up Up Return;  shows "colour Black (1-bit file)" RastelB8.bmp
sixteen;                 shows "\"16升\"" RastelB.bmp
colour Down Down Return; shows "colour Orchid" RastelP.bmp
emphasis;                shows "\"強調\" on" RastelPB2.bmp
big;                     shows "\"大\"" RastelPBBig.bmp

# The list closed without a change; then a key on the closed list changes the
# colour (Orchid -> Red) but nothing else until the next size click.
colour Escape;           shows "the colour list closed without a change" RastelPBBig.bmp
xdotool key Up
e2e_check "a key on the closed colour list leaves the grid as it was" e2e_holds 1 e2e_shape_is RastelPBBig.bmp
sixteen;                 shows "the next size click takes the new colour: Red, \"16升\"" RastelRB2.bmp

# Files are read again at each choice: with RastelRB2.bmp replaced on disk,
# a click on the size that is already checked does not read it again, while
# closing the colour list does.
cp "$E2E_DIR/RastelRB2.bmp" "$E2E_DIR/before-RastelRB2.bmp"
cp "$E2E_DIR/RastelSBig.bmp" "$E2E_DIR/RastelRB2.bmp"
sixteen
e2e_check "clicking the checked size button again does not reload" e2e_holds 1 e2e_shape_is before-RastelRB2.bmp
colour Escape;           shows "closing the colour list reloads the file" RastelSBig.bmp

e2e_main_info
e2e_click_client 713 33
e2e_check "\"終了\" ends the program" e2e_wait_exit 10
e2e_end
