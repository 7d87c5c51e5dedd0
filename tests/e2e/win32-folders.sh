#!/usr/bin/env bash
# The Windows program in folders as operators name them: one in Hangul, and
# a Japanese one whose path is over 260 bytes in CP932 but under 260 UTF-16
# units. In each, the settings file beside the .exe is read (the run reaches
# the simulator at the address and port it names, not the defaults), a band
# is recorded, and 測定条件保存 writes the file there, keeping its CP932
# comment, and nowhere else. Usage: EXE SIM
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/win32-lib.sh"
exe=$1 sim=$2
[[ -x "$sim" ]] || { echo "no simulator for this machine at $sim: skipped"; exit 77; }
[[ -n "${DISPLAY:-}" ]] || { echo "no display: skipped"; exit 77; }

# 65 characters, 130 bytes in CP932 (and 195 in UTF-8, within a Linux name).
long=$(printf '長い名前の測定記録フォルダ%.0s' 1 2 3 4 5)
comment=$(printf '; 測定条件\r\n' | iconv -f UTF-8 -t CP932)
# The program's path as Windows has it: Z: is the root of this machine.
path_bytes() { printf '%s' "Z:${1//\//\\}\\KOV_Xport_WindowsAPI.exe" | iconv -f UTF-8 -t "$2" | wc -c; }
((($(path_bytes "$WORK/$long/$long" CP932) > 260) && ($(path_bytes "$WORK/$long/$long" UTF-16LE) < 2 * 260))) ||
  fail "the long folder's path does not lie between the two limits (TMPDIR too long?)"
start_sim "$sim"
runs=0
for folder in "$WORK/한국 측정" "$WORK/$long/$long"; do
  echo "== in $folder"
  mkdir -p "$folder"
  # The settings file without D_LEVEL: 測定条件保存 adds it.
  printf '%s\r\n[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=%s\r\n[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ=460\r\nINTERVAL=0\r\nCOUNT=1\r\n' \
    "$comment" "$SIM_PORT" >"$folder/KOV_Xport.ini"
  start_app "$exe" "$folder"
  at 650 100
  xdotool key Return
  runs=$((runs + 1))
  wait_for 30 received EX "$runs" || fail "no run from the settings file in $folder"
  sleep 0.5
  lines=$(grep -c $'\r$' "$folder/WFdata.txt")
  [[ $lines -eq $((1 + 321)) ]] || fail "WFdata.txt in $folder holds $lines lines"
  at 492 140   # 測定条件保存 at 440,120
  xdotool click 1
  wait_for 10 grep -q $'^D_LEVEL=' "$folder/KOV_Xport.ini" || fail "測定条件保存 saved nothing in $folder"
  [[ $(head -c ${#comment} "$folder/KOV_Xport.ini") == "$comment" ]] || fail "the comment changed in $folder"
  xdotool key --window "$WIN" alt+F4 2>/dev/null || true
  kill -KILL "$APP_PID" 2>/dev/null || true
  APP_PID=
  saved=$(find "$WORK" -name 'KOV_Xport.ini*')
  [[ $saved == "$folder/KOV_Xport.ini" ]] || fail "settings files: $saved"
  rm "$folder/KOV_Xport.ini"
done
echo "ok: the settings file read and saved beside the program, a band recorded there"
