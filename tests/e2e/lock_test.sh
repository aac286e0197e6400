#!/usr/bin/env bash
# Drawing under the grid, with Wine's notepad beneath it and the focus there:
# Ctrl+Alt+Shift+Space locks the grid (a click on a line lands in notepad, a
# drag there leaves the grid where it is, the cluster is gone) and unlocks
# it (the drag moves it again, the cluster is back); Ctrl+Alt+Shift+Home
# hides and shows it; Ctrl+Alt+Shift+Page Down and Page Up make it fainter
# and back; the panel's arrow keys nudge the locked grid.
source "$(dirname "$0")/lib.sh"
e2e_begin

# Notepad first, over the whole screen, on a text of many long lines.
text="$E2E_DIR/beneath.txt"
for i in $(seq 80); do printf '%s\r\n' "line $i: the quick brown fox jumps over the lazy dog, again and again and again"; done >"$text"
(cd "$E2E_DIR" && exec wine notepad beneath.txt </dev/null >/dev/null 2>&1) &
notepad_pid=$!
notepad=$(e2e_wait_window 'Notepad' 30)
e2e_check "notepad is there" test -n "$notepad"
[ -n "$notepad" ] || { e2e_end; exit 1; }
xdotool windowmove --sync "$notepad" 0 0 windowsize --sync "$notepad" 1280 1000
e2e_start_main
e2e_check "the main window appears" test -n "$E2E_WIN"
[ -n "$E2E_WIN" ] || { e2e_end; exit 1; }
e2e_poll 20 e2e_shape_is RastelS.bmp >/dev/null

focus_notepad() { xdotool windowactivate --sync "$notepad" >/dev/null 2>&1; sleep 0.2; }
hotkey() { xdotool key --clearmodifiers "ctrl+alt+shift+$1"; sleep 0.3; }
caret() { e2e_probe caret "x:$notepad" | awk '$1 == "caret" { print $2, $3 }'; }
locked_is() {  # locked_is 0|1: click-through, and the cluster's controls hidden or shown
  local shown
  e2e_main_info || return 1
  shown=$(e2e_probe children "x:$E2E_WIN" | awk '$1 == "child" && $8 == 1' | wc -l)
  if [ "$1" = 1 ]; then [ "$M_CLICKTHROUGH" = 1 ] && [ "$M_LAYERED" = 255 ] && [ "$shown" -eq 0 ]
  else [ "$M_CLICKTHROUGH" = 0 ] && [ "$M_LAYERED" = none ] && [ "$shown" -eq 8 ]
  fi || { echo "click-through $M_CLICKTHROUGH, layered $M_LAYERED, $shown controls shown"; return 1; }
}

# Client (175, 300) lies on a vertical line of RastelS.bmp. Unlocked, a
# click there is the grid's.
read -r sx sy < <(e2e_client_to_screen 175 300)
# (The pointer leaves after each click: a --sync move to where it already is
# waits for a motion that never comes.)
line_click() {
  xdotool mousemove --sync "$sx" "$sy"; sleep 0.1
  xdotool mousedown 1; sleep 0.2; xdotool mouseup 1
  e2e_pointer_away
}
focus_notepad
xdotool key --clearmodifiers ctrl+Home
e2e_check "notepad's caret starts at the top" e2e_poll 3 test "$(caret)" = "0 0"
line_click
e2e_check "unlocked, a click on a line pixel does not reach notepad" e2e_holds 1 test "$(caret)" = "0 0"

focus_notepad
hotkey space
e2e_check "Ctrl+Alt+Shift+Space locks the grid: click-through, the cluster gone" e2e_poll 5 locked_is 1
e2e_check "the locked grid shows the picture alone, the plate gone too" e2e_poll 10 \
  "$RASTEL_E2E_X" match "$E2E_WIN" "$E2E_DIR/RastelS.bmp" "$C_X" "$C_Y" "$M_CW" "$M_CH"
line_click
caret_moved() { local c; c=$(caret); [ -n "$c" ] && [ "$c" != "0 0" ] || { echo "caret $c"; return 1; }; }
e2e_check "a click on a line pixel lands in notepad: its caret moves" e2e_poll 3 caret_moved
pos="$M_LEFT $M_TOP"
e2e_drag "$sx" "$sy" 60 40
e2e_pointer_away
e2e_check "a drag on a line leaves the locked grid where it is" e2e_holds 1 e2e_main_at $pos

focus_notepad
hotkey space
e2e_check "the same key unlocks it: the cluster is back" e2e_poll 5 locked_is 0
e2e_check "with the plate and the shape of before" e2e_poll 20 e2e_shape_is RastelS.bmp
e2e_main_info
e2e_drag "$sx" "$sy" 60 40
e2e_pointer_away
e2e_check "unlocked, a drag on a line moves the grid again" e2e_poll 5 e2e_main_at $((M_LEFT + 60)) $((M_TOP + 40))

e2e_main_info
pos="$M_LEFT $M_TOP"
focus_notepad
hotkey Home
hidden() { e2e_main_info && [ "$M_VISIBLE" = 0 ]; }
e2e_check "Ctrl+Alt+Shift+Home hides the grid" e2e_poll 5 hidden
focus_notepad
hotkey Home
shown_at() { e2e_main_info && [ "$M_VISIBLE" = 1 ] && e2e_main_at $pos; }
e2e_check "the same key shows it where it was" e2e_poll 5 shown_at

hotkey Next
alpha_is() { e2e_main_info && [ "$M_LAYERED" = "$1" ] && [ "$M_CLICKTHROUGH" = 0 ] || { echo "layered $M_LAYERED"; return 1; }; }
e2e_check "Ctrl+Alt+Shift+Page Down: layered at 80 % (alpha 204)" e2e_poll 5 alpha_is 204
hotkey Prior
e2e_check "Ctrl+Alt+Shift+Page Up: opaque again, not layered" e2e_poll 5 alpha_is none

# The panel nudges the locked grid by its arrow keys.
e2e_click_client 670 33  # "移"
panel_win=$(e2e_wait_window '^微調整$' 10)
e2e_check "\"移\" shows the panel" test -n "$panel_win"
if [ -n "$panel_win" ]; then
  hotkey space
  e2e_check "locked again" e2e_poll 5 locked_is 1
  xdotool windowactivate --sync "$panel_win" >/dev/null 2>&1; sleep 0.2
  e2e_main_info
  x0=$M_LEFT; y0=$M_TOP
  xdotool key Up
  e2e_check "Up in the panel moves the locked grid up a pixel" e2e_poll 3 e2e_main_at "$x0" $((y0 - 1))
  xdotool key shift+Right
  e2e_check "Shift+Right moves it ten pixels right" e2e_poll 3 e2e_main_at $((x0 + 10)) $((y0 - 1))
  hotkey space
  e2e_check "unlocked" e2e_poll 5 locked_is 0
fi

e2e_main_info
e2e_click_client 713 33
e2e_check "\"終了\" ends the program" e2e_wait_exit 10
kill "$notepad_pid" 2>/dev/null; wait "$notepad_pid" 2>/dev/null
e2e_end
