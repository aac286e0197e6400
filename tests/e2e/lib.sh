# Shared helpers of the end-to-end tests: a private session, a folder of the
# default grid images, the real rastel.exe started there and driven with
# xdotool. Each test file sources this and calls e2e_begin.
set -uo pipefail
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$E2E_ROOT/scripts/lib/session.sh"

: "${RASTEL_EXE:=$E2E_ROOT/build/win/app/rastel.exe}"
: "${RASTEL_GRIDGEN:=$E2E_ROOT/build/native/tools/rastel-gridgen}"
: "${RASTEL_BUILD_WIN:=$E2E_ROOT/build/win}"

E2E_FAILS=0
E2E_CHECKS=0
E2E_APP_PID=""
E2E_DIR=""

e2e_check() {  # e2e_check "what" command...
  local what="$1"; shift
  E2E_CHECKS=$((E2E_CHECKS + 1))
  if "$@"; then echo "  ok: $what"; else echo "  FAIL: $what"; E2E_FAILS=$((E2E_FAILS + 1)); fi
}

e2e_begin() {  # e2e_begin [dpi]
  session_start "${1:-96}" || exit 1
  E2E_DIR="$SESSION_DIR/run"
  mkdir -p "$E2E_DIR"
  "$RASTEL_GRIDGEN" "$E2E_DIR" >/dev/null || { echo "gridgen failed"; exit 1; }
  cp "$RASTEL_EXE" "$E2E_DIR/"
}

# Starts rastel.exe in the run folder; sets E2E_APP_PID.
e2e_start_app() {
  (cd "$E2E_DIR" && exec wine ./rastel.exe </dev/null >/dev/null 2>&1) &
  E2E_APP_PID=$!
}

# Prints the X window id of the first window whose title matches REGEX,
# waiting up to SECONDS (default 20).
e2e_wait_window() {
  local regex="$1" seconds="${2:-20}" id="" i
  for i in $(seq $((seconds * 10))); do
    id=$(xdotool search --onlyvisible --name "$regex" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to SECONDS for the app process to end.
e2e_wait_exit() {
  local seconds="${1:-20}" i
  for i in $(seq $((seconds * 10))); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || { wait "$E2E_APP_PID" 2>/dev/null; return 0; }
    sleep 0.1
  done
  return 1
}

e2e_end() {
  echo "  $E2E_CHECKS checks, $E2E_FAILS failed"
  session_stop
  [ "$E2E_FAILS" -eq 0 ]
}
