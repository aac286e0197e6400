#!/usr/bin/env bash
# The Windows release as a user gets it: the zip unpacks to one folder with
# the program, the generator, the guide and the default grid images; the
# program is small, stripped and needs only system DLLs; started from that
# folder it shows the shaped grid.
source "$(dirname "$0")/lib.sh"
: "${RASTEL_ZIP:=$(ls "$E2E_ROOT"/dist/Rastel-*-win64.zip 2>/dev/null | head -1)}"
[ -f "$RASTEL_ZIP" ] || { echo "missing: the release zip (run scripts/package first)"; exit 1; }

session_start || exit 1
unpacked="$SESSION_DIR/unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$RASTEL_ZIP")
top=$(basename "$RASTEL_ZIP" .zip)
E2E_DIR="$unpacked/$top"

one_folder() { local got; got=$(ls -A "$unpacked"); [ "$got" = "$top" ] || { echo "unpacks to: $got"; return 1; }; }
e2e_check "the zip unpacks to one folder, $top" one_folder

ref="$SESSION_DIR/ref"
"$RASTEL_GRIDGEN" "$ref" >/dev/null
contents() {
  local want got
  want=$(cd "$ref" && ls; printf '%s\n' README.txt rastel-gridgen.exe rastel.exe)
  got=$(cd "$E2E_DIR" && ls)
  [ "$(sort <<<"$want")" = "$(sort <<<"$got")" ] || { diff <(sort <<<"$want") <(sort <<<"$got"); return 1; }
}
e2e_check "it holds rastel.exe, rastel-gridgen.exe, README.txt and the 27 grid images" contents
same_images() { local f; for f in "$ref"/*.bmp; do cmp "$f" "$E2E_DIR/$(basename "$f")" || return 1; done; }
e2e_check "the grid images are the default set, one for every display scale" same_images
guide() {
  head -c 3 "$E2E_DIR/README.txt" | cmp -s - <(printf '\xef\xbb\xbf') || { echo "no byte order mark"; return 1; }
  grep -q $'表示スケール.*\r$' "$E2E_DIR/README.txt" || { echo "no Japanese text with CRLF line ends"; return 1; }
  grep -q 'display scaling' "$E2E_DIR/README.txt"
}
e2e_check "the guide is UTF-8 for Notepad, Japanese then English" guide

objdump=x86_64-w64-mingw32-objdump
small() { local n; n=$(stat -c %s "$E2E_DIR/rastel.exe"); echo "rastel.exe: $n bytes"; [ "$n" -le 1572864 ]; }
e2e_check "rastel.exe is at most 1.5 MB" small
stripped() { ! "$objdump" -h "$E2E_DIR/rastel.exe" | grep -q '\.debug' && "$objdump" -t "$E2E_DIR/rastel.exe" | grep -q 'no symbols'; }
e2e_check "rastel.exe is stripped" stripped
system_dlls() {
  local dll dlls bad=0
  dlls=$("$objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p') && [ -n "$dlls" ] || { echo "cannot read $1"; return 1; }
  for dll in $dlls; do
    case "${dll,,}" in
      kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|msvcrt.dll|advapi32.dll|shell32.dll|ntdll.dll) ;;
      *) echo "imports $dll"; bad=1 ;;
    esac
  done
  return $bad
}
e2e_check "rastel.exe imports system DLLs only" system_dlls "$E2E_DIR/rastel.exe"
e2e_check "rastel-gridgen.exe imports system DLLs only" system_dlls "$E2E_DIR/rastel-gridgen.exe"

e2e_start_main
e2e_check "started in the unpacked folder, the main window appears" test -n "$E2E_WIN"
if [ -n "$E2E_WIN" ]; then
  e2e_check "it shows the shaped grid of RastelS.bmp" e2e_poll 20 e2e_shape_is RastelS.bmp
  e2e_check "no message box" e2e_no_box
  e2e_click_client 713 33
  e2e_check "\"終了\" ends it" e2e_wait_exit 10
fi
e2e_end
