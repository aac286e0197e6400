#!/usr/bin/env bash
# rastel.exe starts under Wine, its window appears, and closing it ends the process.
source "$(dirname "$0")/lib.sh"
e2e_begin
e2e_start_app
win=$(e2e_wait_window '^Rastel .')
e2e_check "the main window appears" test -n "$win"
if [ -n "$win" ]; then
  # Alt+F4 goes to the active window: wait until the new window is it.
  active() { xdotool windowactivate "$win" 2>/dev/null; sleep 0.2; [ "$(xdotool getactivewindow 2>/dev/null)" = "$win" ]; }
  e2e_check "the main window can be activated" e2e_poll 10 active
  # What a Linux taskbar lists: managed windows without _NET_WM_STATE_SKIP_TASKBAR.
  entries() {
    local id list=() ids
    ids=$(xprop -root _NET_CLIENT_LIST | sed 's/.*# //; s/,//g')
    for id in $ids; do
      xprop -id "$id" _NET_WM_STATE | grep -q SKIP_TASKBAR || list+=("$(xprop -id "$id" _NET_WM_NAME | sed 's/.*= //')")
    done
    printf '%s\n' "${list[@]}"
  }
  one_entry() { local got; got=$(entries); [ "$got" = '"Rastel"' ] || { echo "taskbar entries: $got"; return 1; }; }
  e2e_check "the taskbar lists one entry, \"Rastel\"" one_entry
  xdotool key --clearmodifiers alt+F4
fi
e2e_check "closing the window ends the program" e2e_wait_exit 20
e2e_end
