#!/usr/bin/env bash
# Under a file-size limit the program reports the failed write, sends "EX"
# and stays: WFdata.txt keeps whole bands only. Usage: APP SIM
source "$(dirname "$0")/lib.sh"
app=$1 sim=$2
cp "$app" "$WORK/kov-xport"
start_sim "$sim"
write_ini 450 470 3 0
cd "$WORK"
# 12 KiB: two bands of about 4.6 KB fit, the third does not.
(ulimit -f 12 && exec ./kov-xport) &
APP_PID=$!
find_window KOV_Xport_WindowsAPI
at 650 100
xdotool key Return
wait_for 30 received EX 1 || fail "no EX after the failed write"
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || fail "the program did not survive the limit"
lines=$(grep -c $'\r$' WFdata.txt)
[[ $lines -eq $((1 + 2 * 321)) ]] || fail "WFdata.txt holds $lines lines, not two whole bands"
echo "ok: two whole bands kept, the program still running"
