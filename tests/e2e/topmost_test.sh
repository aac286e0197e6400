#!/usr/bin/env bash
# The stay-on-top toggle (client 615, 23, 44 x 20): on at start with the grid
# in the topmost band; a click lets other windows cover the grid, a second
# click brings it back in front; after a double click and after a right
# click the toggle and the band agree.
source "$(dirname "$0")/lib.sh"
e2e_begin
e2e_start_main
e2e_check "the main window appears" test -n "$E2E_WIN"
[ -n "$E2E_WIN" ] || { e2e_end; exit 1; }
e2e_check "after start the grid is in the topmost band" e2e_above "$E2E_WIN"
e2e_check "Windows sees it topmost too" test "$M_TOPMOST" = 1

# An ordinary window over the left part of the grid, away from the controls.
stdbuf -oL xev -geometry 400x300+$((M_LEFT + 100))+$((M_TOP + 200)) -event button >/dev/null 2>&1 &
cover_pid=$!
cover=$(e2e_wait_window '^Event Tester$' 10)
e2e_check "another window is there" test -n "$cover"
activate_cover() { xdotool windowactivate --sync "${cover:-0}" >/dev/null 2>&1; sleep 0.2; }
activate_cover
e2e_check "the topmost grid stays in front of the active window" e2e_poll 3 e2e_stacked_above "$E2E_WIN" "${cover:-0}"

# The toggle is the one child that is not a standard control.
toggle=$(e2e_probe children "x:$E2E_WIN" | awk '$1 == "child" && tolower($2) !~ /^(button|combobox|static|edit)$/ { print; exit }')
if [ -z "$toggle" ]; then
  e2e_skip "the stay-on-top toggle" "the window has no such control yet"
else
  echo "  toggle: $toggle"
  at_place() { read -r _ _ _ x y w h _ <<<"$toggle"; [ "$x $y $w $h" = "615 23 44 20" ]; }
  e2e_check "the toggle stands at client 615, 23, 44 x 20" at_place
  toggle_click() { e2e_click_client 637 33 "${1:-1}"; e2e_pointer_away; }
  band() { if e2e_above "$E2E_WIN"; then echo topmost; else echo ordinary; fi; }
  band_is() { [ "$(band)" = "$1" ] || { echo "the band is $(band)"; return 1; }; }
  windows_topmost_is() { e2e_main_info && [ "$M_TOPMOST" = "$1" ] || { echo "WS_EX_TOPMOST is $M_TOPMOST"; return 1; }; }

  # The toggle's look, read from the screen with the pointer elsewhere.
  toggle_look() { e2e_main_info >/dev/null && "$RASTEL_E2E_X" hash $((C_X + 615)) $((C_Y + 23)) 44 20; }
  steady_look() { local a b; a=$(toggle_look); sleep 0.3; b=$(toggle_look); [ "$a" = "$b" ] && echo "$a"; }

  toggle_click
  e2e_check "a click takes the grid out of the topmost band" e2e_poll 5 band_is ordinary
  e2e_check "Windows agrees" windows_topmost_is 0
  look_off=$(e2e_poll 3 steady_look)
  activate_cover
  e2e_check "now another window can cover the grid" e2e_poll 3 e2e_stacked_above "${cover:-0}" "$E2E_WIN"

  toggle_click
  e2e_check "a second click puts it back in the topmost band" e2e_poll 5 band_is topmost
  e2e_check "Windows agrees" windows_topmost_is 1
  look_on=$(e2e_poll 3 steady_look)
  e2e_check "the toggle looks different on and off" test -n "$look_on" -a "$look_on" != "$look_off"
  looks_like_band() {
    local want=$look_off; [ "$(band)" = topmost ] && want=$look_on
    [ "$(toggle_look)" = "$want" ] || { echo "the band is $(band) but the toggle does not show it"; return 1; }
  }
  e2e_check "and in front of the other window" e2e_poll 3 e2e_stacked_above "$E2E_WIN" "${cover:-0}"
  activate_cover
  e2e_check "where it stays when the other window is activated" e2e_poll 3 e2e_stacked_above "$E2E_WIN" "${cover:-0}"

  # The toggle agrees with the band when one more click changes the band:
  # a click switches the toggle and sets the band from its new state.
  agrees_after() {  # agrees_after "what"
    sleep 0.7  # past the double-click time, so the next click is a single one
    local before; before=$(band)
    echo "  after $1 the band is $before"
    e2e_check "after $1 the toggle shows the band's state" e2e_poll 3 looks_like_band
    toggle_click
    local want=topmost; [ "$before" = topmost ] && want=ordinary
    e2e_check "after $1 the toggle agrees with the band: the next click makes it $want" e2e_poll 3 band_is "$want"
    # Back to the start: toggle on, grid topmost.
    if [ "$(band)" != topmost ]; then toggle_click; e2e_poll 5 band_is topmost >/dev/null; fi
  }

  xdotool mousemove --sync $((M_CX + 637)) $((M_CY + 33)); sleep 0.1
  xdotool click --repeat 2 --delay 60 1
  e2e_pointer_away
  agrees_after "a double click"

  toggle_click 3
  agrees_after "a right click"
  e2e_check "finally the grid is topmost again" e2e_poll 3 band_is topmost
fi
kill "$cover_pid" 2>/dev/null; wait "$cover_pid" 2>/dev/null

e2e_main_info
e2e_click_client 713 33
e2e_check "\"終了\" ends the program" e2e_wait_exit 10
e2e_end
