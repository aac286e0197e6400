# A private headless Wine session: own Xvfb, own openbox, own WINEPREFIX.
# Everything started here is stopped by PID and by prefix; nothing else is
# touched.
#
#   source scripts/lib/session.sh
#   session_start [dpi] [WIDTHxHEIGHT]   # default 96 dpi on 1280x1024;
#                            # exports DISPLAY, WINEPREFIX, WINEDEBUG, ...
#   ... wine program.exe ...
#   session_stop             # also run by the EXIT trap that session_start sets

SESSION_DIR=""
SESSION_XVFB_PID=""
SESSION_WM_PID=""

_session_log() { echo "session: $*" >&2; }

# A prefix made once per machine and Wine version, copied for each session.
_session_template() {
  local cache="${XDG_CACHE_HOME:-$HOME/.cache}/rastel"
  local version
  version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.-' '_')
  local tmpl="$cache/prefix-$version"
  if [ ! -f "$tmpl/.ready" ]; then
    _session_log "creating Wine prefix template (once)"
    rm -rf "$tmpl" && mkdir -p "$tmpl"
    ( export WINEPREFIX="$tmpl"
      wineboot -i </dev/null >/dev/null 2>&1
      wineserver -w )
    touch "$tmpl/.ready"
  fi
  echo "$tmpl"
}

_session_registry() {
  # "ＭＳ Ｐゴシック" is played by Ume P Gothic, drawn to its widths and
  # heights: with a wider stand-in (IPAPGothic's digits are 8 pixels, not 6)
  # "8升" and "16升" would not fit the radio buttons the design gives them.
  local dpi="$1" reg="$SESSION_DIR/setup.reg" link
  # The system's dialog faces have no Japanese glyphs: message boxes take
  # them from IPAPGothic (a REG_MULTI_SZ "FILE,FACE", UTF-16LE).
  link=$(printf 'ipagp.ttf,IPAPGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"ＭＳ Ｐゴシック"="Ume P Gothic"\r\n"MS PGothic"="Ume P Gothic"\r\n'
    printf '"ＭＳ ゴシック"="Ume Gothic"\r\n"MS Gothic"="Ume Gothic"\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do printf '"%s"=hex(7):%s\r\n' "$face" "$link"; done
    printf '\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n\r\n' "$dpi"
    printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n\r\n' "$dpi"
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

# A virtual screen that goes with a resolution, large enough for the main
# window there: 1280x1024 up to 96 dpi, then 1920x1080, 2560x1440, 3840x2160.
session_screen_for_dpi() {
  local dpi="${1:-96}"
  if [ "$dpi" -le 96 ]; then echo 1280x1024
  elif [ "$dpi" -le 120 ]; then echo 1920x1080
  elif [ "$dpi" -le 144 ]; then echo 2560x1440
  else echo 3840x2160
  fi
}

session_start() {
  local dpi="${1:-96}" screen="${2:-1280x1024}"
  [[ "$screen" =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || { _session_log "screen size must be WIDTHxHEIGHT, not $screen"; return 1; }
  SESSION_DIR=$(mktemp -d "${TMPDIR:-/tmp}/rastel-session.XXXXXX")
  trap session_stop EXIT
  trap 'exit 130' INT TERM

  # Display: Xvfb picks a free number itself.
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$SESSION_DIR/display" \
    >/dev/null 2>&1 </dev/null &
  SESSION_XVFB_PID=$!
  local i
  for i in $(seq 100); do [ -s "$SESSION_DIR/display" ] && break; sleep 0.05; done
  [ -s "$SESSION_DIR/display" ] || { _session_log "Xvfb did not start"; return 1; }
  export DISPLAY=":$(head -1 "$SESSION_DIR/display")"

  # Window manager.
  mkdir -p "$SESSION_DIR/config"
  XDG_CONFIG_HOME="$SESSION_DIR/config" openbox --sm-disable >/dev/null 2>&1 </dev/null &
  SESSION_WM_PID=$!
  for i in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done

  # Wine.
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  local tmpl
  tmpl=$(_session_template)
  export WINEPREFIX="$SESSION_DIR/prefix"
  cp -a "$tmpl" "$WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p
  # First program with no inherited pipes: Wine's services start here.
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
  _session_registry "$dpi"
  _session_log "display $DISPLAY ($screen), prefix $WINEPREFIX, ${dpi} dpi"
}

session_stop() {
  [ -n "$SESSION_DIR" ] || return 0
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  [ -n "$SESSION_WM_PID" ] && kill "$SESSION_WM_PID" 2>/dev/null && wait "$SESSION_WM_PID" 2>/dev/null
  [ -n "$SESSION_XVFB_PID" ] && kill "$SESSION_XVFB_PID" 2>/dev/null && wait "$SESSION_XVFB_PID" 2>/dev/null
  rm -rf "$SESSION_DIR"
  SESSION_DIR=""; SESSION_WM_PID=""; SESSION_XVFB_PID=""
}
