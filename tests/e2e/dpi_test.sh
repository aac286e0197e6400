#!/usr/bin/env bash
# At 125, 150 and 200 % display scaling (120, 144, 192 dpi), each on a
# screen of a size that goes with it: the program starts on the one default
# set, which covers the scaled client area, every control of the cluster lies
# on solid pixels, a grid is chosen through the controls and "終了" ends the
# program. At 120 dpi the Windows generator's --dpi set is byte for byte the
# native one; at 144 dpi the set is the one rastel-gridgen.exe's window
# writes beside it (started with no arguments, as by a double click), the
# same again.
source "$(dirname "$0")/lib.sh"
: "${RASTEL_GRIDGEN_EXE:=$RASTEL_BUILD_WIN/tools/rastel-gridgen.exe}"
[ -f "$RASTEL_GRIDGEN_EXE" ] || { echo "missing: $RASTEL_GRIDGEN_EXE (build both trees first)"; exit 1; }

# The probe's lines for the main window's children: "child CLASS ID X Y W H VISIBLE STATE TEXT".
children() { e2e_probe children "x:$E2E_WIN" | grep '^child '; }

# Centre of the child whose class and text are given, in client coordinates.
child_centre() {  # child_centre CLASS TEXT
  children | awk -v c="$1" -v t="$2" '$2 == c && $10 == t { print int($4 + $6 / 2), int($5 + $7 / 2); exit }'
}

# Every control of the cluster is shown and all of its pixels belong to the
# window's region (window coordinates, offset by the client origin).
controls_on_solid_pixels() {
  local kids region
  e2e_main_info || { echo "main window gone"; return 1; }
  kids=$(children)
  [ "$(wc -l <<<"$kids")" -eq 8 ] || { echo "expected 8 controls, got:"; echo "$kids"; return 1; }
  region=$(e2e_probe region "x:$E2E_WIN" | tail -n +2)
  awk -v ox=$((C_X - M_LEFT)) -v oy=$((C_Y - M_TOP)) '
    FNR == NR { l[n] = $1; t[n] = $2; r[n] = $3; b[n] = $4; n++; next }
    {
      cls = $2; x0 = $4 + ox; y0 = $5 + oy; w = $6; h = $7
      if ($8 != 1) { print cls, $10, "is hidden"; bad = 1; next }
      missing = 0
      for (y = y0; y < y0 + h; y++) {
        covered = 0
        for (i = 0; i < n; i++) if (t[i] <= y && y < b[i]) {
          lo = l[i] > x0 ? l[i] : x0; hi = r[i] < x0 + w ? r[i] : x0 + w
          if (hi > lo) covered += hi - lo
        }
        missing += w - covered
      }
      if (missing) { print cls, $10, "at", $4, $5, w "x" h ":", missing, "pixels off the shape"; bad = 1 }
    }
    END { exit bad }' <(echo "$region") <(echo "$kids")
}

click_child() {  # click_child CLASS TEXT
  local x y
  read -r x y < <(child_centre "$1" "$2")
  [ -n "$x" ] || { echo "no $1 \"$2\""; return 1; }
  e2e_click_client "$x" "$y"
}

image_size() { identify -format '%w %h' "$E2E_DIR/$1" 2>/dev/null; }

# Writes the set with rastel-gridgen.exe started as by a double click: its
# window's "既定の組を書く", confirmed, answers with a message box.
no_box_left() { [ -z "$(e2e_windows_named '^rastel-gridgen$')" ]; }
answer_box() {
  local box
  box=$(e2e_wait_window '^rastel-gridgen$' 20) || { echo "no message box"; return 1; }
  xdotool windowactivate --sync "$box" 2>/dev/null
  sleep 0.1
  xdotool key Return
  e2e_poll 10 no_box_left >/dev/null
}
double_click_set() {
  local win pid
  cp "$RASTEL_GRIDGEN_EXE" "$E2E_DIR/"
  (cd "$E2E_DIR" && exec wine ./rastel-gridgen.exe </dev/null >"$SESSION_DIR/gridgen.out" 2>&1) &
  pid=$!
  win=$(e2e_wait_window '^rastel-gridgen ' 30) || { echo "no window"; kill "$pid"; return 1; }
  e2e_probe click "x:$win" 既定の組を書く >/dev/null
  answer_box && answer_box || { kill "$pid"; return 1; }
  e2e_probe close "x:$win" >/dev/null
  wait "$pid"
}

one_screen() {  # one_screen DPI WIDTHxHEIGHT
  dpi=$1
  echo "-- $dpi dpi on $2"
  session_start "$dpi" "$2" || exit 1
  E2E_DIR="$SESSION_DIR/run"
  mkdir -p "$E2E_DIR"
  case $dpi in
    144)
      e2e_check "rastel-gridgen.exe, started with no arguments, writes the set from its window and exits 0" \
        double_click_set
      e2e_check "it wrote the one set for every display scale beside itself" \
        grep -q "27 grid images for every display scale .* in .*run" "$SESSION_DIR/gridgen.out"
      "$RASTEL_GRIDGEN" "$SESSION_DIR/native-set" >/dev/null
      e2e_check "the set is byte for byte the native one" \
        diff -r -x rastel-gridgen.exe "$E2E_DIR" "$SESSION_DIR/native-set"
      ;;
    120)  # --dpi is still taken, and changes nothing
      "$RASTEL_GRIDGEN" --dpi "$dpi" "$E2E_DIR" >/dev/null || { echo "gridgen failed"; exit 1; }
      ;;
    *)
      "$RASTEL_GRIDGEN" "$E2E_DIR" >/dev/null || { echo "gridgen failed"; exit 1; }
      ;;
  esac
  if [ "$dpi" = 120 ]; then
    wine "$RASTEL_GRIDGEN_EXE" --dpi 120 "$(winepath -w "$SESSION_DIR/win-set" 2>/dev/null)" </dev/null >/dev/null 2>&1
    e2e_check "rastel-gridgen.exe --dpi 120 writes the same bytes as the native one" \
      diff -r "$E2E_DIR" "$SESSION_DIR/win-set"
  fi
  cp "$RASTEL_EXE" "$E2E_DIR/"

  e2e_start_main
  e2e_check "the main window appears" test -n "$E2E_WIN"
  if [ -n "$E2E_WIN" ]; then
    local w h
    read -r w h < <(image_size RastelS.bmp)
    e2e_check "the images (${w}x$h) cover the scaled client area (${M_CW}x$M_CH)" \
      test "$M_CW" -le "$w" -a "$M_CH" -le "$h"
    [ "$dpi" = 192 ] && e2e_check "the window is larger than 1280 x 1024" \
      test $((M_RIGHT - M_LEFT)) -gt 1280 -a $((M_BOTTOM - M_TOP)) -gt 1024
    e2e_check "it is cut to RastelS.bmp" e2e_poll 20 e2e_shape_is RastelS.bmp
    e2e_check "every control lies on solid pixels" controls_on_solid_pixels
    click_child Button 大
    e2e_check "\"大\" shows RastelSBig.bmp" e2e_poll 20 e2e_shape_is RastelSBig.bmp
    click_child ComboBox SkyBlue
    sleep 0.3
    xdotool key Down Down Return
    e2e_check "the colour list's \"Red\" shows RastelRBig.bmp" e2e_poll 20 e2e_shape_is RastelRBig.bmp
    e2e_check "no error box" e2e_no_box
    click_child Button 終了
    e2e_check "\"終了\" ends the program" e2e_wait_exit 10
  fi
  session_stop
}

one_screen 120 1920x1080
one_screen 144 2560x1440
one_screen 192 3840x2160
e2e_end
