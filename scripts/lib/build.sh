# Configure-and-build helpers shared by the top-level commands.
# ROOT is the repository root; builds go to $ROOT/build/<tree>.

rastel_jobs() { echo "${RASTEL_JOBS:-2}"; }

# rastel_build_native DIR [extra cmake args...] [-- targets...]
rastel_build_native() {
  local dir="$1"; shift
  local args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift && targets=("$@")
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${args[@]}" >/dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    local t; for t in "${targets[@]}"; do cmake --build "$dir" -j"$(rastel_jobs)" --target "$t"; done
  else
    cmake --build "$dir" -j"$(rastel_jobs)"
  fi
}

# rastel_build_win DIR [extra cmake args...] [-- targets...]
rastel_build_win() {
  local dir="$1"; shift
  local args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift && targets=("$@")
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" "${args[@]}" >/dev/null
  if [ ${#targets[@]} -gt 0 ]; then
    local t; for t in "${targets[@]}"; do cmake --build "$dir" -j"$(rastel_jobs)" --target "$t"; done
  else
    cmake --build "$dir" -j"$(rastel_jobs)"
  fi
}
