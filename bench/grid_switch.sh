#!/usr/bin/env bash
# Runs the grid switch benchmark under Wine in a private headless session.
# Both trees must be built (scripts/test does, or scripts/run and a build of
# build/win's grid_switch_bench, region_chunk_bench and shape_paint_bench).
#
#   bench/grid_switch.sh [REPETITIONS]            # the switch, stage by stage
#   bench/grid_switch.sh --chunks [REPETITIONS]   # region cost by chunk size
#   bench/grid_switch.sh --paint [REPETITIONS]    # showing a shape, by way of redrawing
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PROGRAM=grid_switch_bench
case "${1:-}" in
  --chunks) PROGRAM=region_chunk_bench; shift ;;
  --paint) PROGRAM=shape_paint_bench; shift ;;
esac
BENCH="$ROOT/build/win/bench/$PROGRAM.exe"
GRIDGEN="$ROOT/build/native/tools/rastel-gridgen"
for f in "$BENCH" "$GRIDGEN"; do
  [ -f "$f" ] || { echo "missing: $f (build both trees first)" >&2; exit 1; }
done
source "$ROOT/scripts/lib/session.sh"
session_start || exit 1
"$GRIDGEN" "$SESSION_DIR/images" >/dev/null || exit 1
wine "$BENCH" "$(winepath -w "$SESSION_DIR/images" 2>/dev/null)" "${1:-}" </dev/null 2>&1 | tr -d '\r'
