#!/usr/bin/env bash
# Moving the grid: a left drag on a grid line moves it by exactly the drag and
# it stays where released; a press in a cell, a double click on a line and a
# right drag leave it where it is. The panel "微調整" opens beside it with "移"
# and each of its eight buttons moves the grid by one pixel; the panel does
# not follow the grid.
source "$(dirname "$0")/lib.sh"
e2e_begin
e2e_start_main
e2e_check "the main window appears" test -n "$E2E_WIN"
[ -n "$E2E_WIN" ] || { e2e_end; exit 1; }
e2e_poll 20 e2e_shape_is RastelS.bmp >/dev/null

# Client (175, 300) lies on a vertical grid line (every 16th column from 15),
# (8, 300) in the first column of cells.
line_drag() {  # line_drag DX DY: drags the grid by a line point; checks where it ends
  local x0 y0
  e2e_main_info
  x0=$M_LEFT; y0=$M_TOP
  read -r sx sy < <(e2e_client_to_screen 175 300)
  e2e_drag "$sx" "$sy" "$1" "$2"
  e2e_check "a left drag by $1,$2 on a grid line moves the grid by $1,$2" e2e_poll 5 e2e_main_at $((x0 + $1)) $((y0 + $2))
  e2e_pointer_away
  e2e_check "it stays where it was released" e2e_holds 1 e2e_main_at $((x0 + $1)) $((y0 + $2))
}
line_drag 57 31
line_drag -120 -45
e2e_check "after the drags the shape and the pixels are still RastelS.bmp's" e2e_poll 20 e2e_shape_is RastelS.bmp

e2e_main_info
pos="$M_LEFT $M_TOP"
size=$(e2e_x_size "$E2E_WIN")
read -r sx sy < <(e2e_client_to_screen 8 300)
e2e_drag "$sx" "$sy" 60 40
e2e_pointer_away
e2e_check "a left drag in a cell does not move the grid" e2e_holds 1 e2e_main_at $pos

not_maximised() {
  local state; state=$(xprop -id "$E2E_WIN" _NET_WM_STATE 2>/dev/null)
  e2e_main_info || return 1
  [ "$M_ZOOMED" = 0 ] && [ "$(e2e_x_size "$E2E_WIN")" = "$size" ] && ! grep -q MAXIMIZED <<<"$state" \
    || { echo "zoomed $M_ZOOMED, size $(e2e_x_size "$E2E_WIN") (was $size), $state"; return 1; }
}
read -r sx sy < <(e2e_client_to_screen 175 300)
e2e_double_click "$sx" "$sy"
e2e_pointer_away
e2e_check "a double click on a grid line does not move the grid" e2e_holds 1 e2e_main_at $pos
e2e_check "nor maximise it" not_maximised
e2e_check "after the double click the shape is still RastelS.bmp's" e2e_poll 20 e2e_shape_is RastelS.bmp

e2e_drag "$sx" "$sy" 70 50 3
e2e_pointer_away
e2e_check "a right drag on a grid line does not move the grid" e2e_holds 1 e2e_main_at $pos
# A menu or anything else the right button may have opened goes away.
xdotool key Escape

# --- the panel ---
panel_beside() {  # the panel stands at the grid's Left + 740, Top + 19, 88 wide, ordinary band
  e2e_main_info && e2e_info panel P || { echo "no panel"; return 1; }
  echo "grid at $M_LEFT $M_TOP; panel $P_LEFT $P_TOP $P_RIGHT $P_BOTTOM, topmost $P_TOPMOST"
  [ "$P_LEFT" -eq $((M_LEFT + 740)) ] && [ "$P_TOP" -eq $((M_TOP + 19)) ] &&
    [ $((P_RIGHT - P_LEFT)) -eq 88 ] && [ "$P_TOPMOST" = 0 ]
}
open_panel() { e2e_click_client 670 33; }  # "移": client 661, 23, 18 x 21

open_panel
panel_win=$(e2e_wait_window '^微調整$' 10)
e2e_check "\"移\" shows the panel \"微調整\"" test -n "$panel_win"
e2e_check "at the grid's Left + 740, Top + 19, 88 wide, in the ordinary band" e2e_poll 5 panel_beside
e2e_check "the panel is not in the topmost band" e2e_not_above "${panel_win:-0}"
e2e_check "the grid stays in the topmost band" e2e_above "$E2E_WIN"

# Each button's client rectangle and what one click adds to the grid's Left, Top.
buttons=(
  "↑ 28 4 25 25 0 -1"
  "→ 52 28 25 25 1 0"
  "↓ 28 52 25 25 0 1"
  "← 4 28 25 25 -1 0"
  "斜(up-right) 56 4 21 21 1 -1"
  "斜(down-right) 56 56 21 21 1 1"
  "斜(up-left) 4 4 21 21 -1 -1"
  "斜(down-left) 3 56 21 21 -1 1"
)
if [ -n "$panel_win" ] && e2e_info panel P; then
  panel_at="$P_LEFT $P_TOP"
  for b in "${buttons[@]}"; do
    read -r name bx by bw bh dx dy <<<"$b"
    e2e_main_info
    x0=$M_LEFT; y0=$M_TOP
    e2e_click $((P_CX + bx + bw / 2)) $((P_CY + by + bh / 2))
    e2e_check "\"$name\" moves the grid by $dx,$dy" e2e_poll 3 e2e_main_at $((x0 + dx)) $((y0 + dy))
    e2e_check "and only once" e2e_holds 0.5 e2e_main_at $((x0 + dx)) $((y0 + dy))
  done
  panel_still() { e2e_info panel Q && [ "$Q_LEFT $Q_TOP" = "$panel_at" ] || { echo "panel at $Q_LEFT $Q_TOP, was $panel_at"; return 1; }; }
  e2e_check "the panel stays where it was while the grid is nudged" panel_still
  e2e_check "the nudged grid still shows RastelS.bmp at its client origin" e2e_poll 20 e2e_shape_is RastelS.bmp

  read -r sx sy < <(e2e_client_to_screen 175 300)
  e2e_drag "$sx" "$sy" -40 30
  e2e_pointer_away
  e2e_check "the panel stays where it was while the grid is dragged" panel_still

  open_panel
  e2e_check "\"移\" again puts the panel back beside the grid" e2e_poll 5 panel_beside

  xdotool windowactivate --sync "$panel_win" key --clearmodifiers alt+F4
  panel_hidden() { ! xdotool search --onlyvisible --name '^微調整$' >/dev/null 2>&1; }
  e2e_check "closing the panel hides it" e2e_poll 5 panel_hidden
  e2e_check "and the program goes on" e2e_main_info
  open_panel
  e2e_check "\"移\" shows it again, beside the grid and 88 wide" e2e_poll 5 panel_beside
fi

e2e_main_info
e2e_click_client 713 33
e2e_check "\"終了\" ends the program" e2e_wait_exit 10
e2e_end
