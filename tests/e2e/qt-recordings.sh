#!/usr/bin/env bash
# Every band of a run is timed in WFtime.csv, in local time; a second start
# keeps the first run's two files under their stamped names. Usage: APP SIM
source "$(dirname "$0")/lib.sh"
app=$1 sim=$2
cp "$app" "$WORK/kov-xport"
start_sim "$sim"
write_ini 450 470 2 0
cd "$WORK"
t0=$(date +%s)
TZ=Asia/Tokyo ./kov-xport &
APP_PID=$!
find_window KOV_Xport_WindowsAPI
at 650 100
xdotool key Return
wait_for 30 received EX 1 || fail "the first run did not end"
sleep 0.5
check_times 2 2 "$t0" "$(date +%s)"
cp WFdata.txt first-data.txt
cp WFtime.csv first-times.csv
# The focus is back on 測定開始: the next Enter starts the second run.
xdotool key Return
wait_for 30 received EX 2 || fail "the second run did not end"
sleep 0.5
check_kept first-data.txt first-times.csv
[[ $(grep -c $'\r$' WFdata.txt) -eq $((1 + 4 * 321)) ]] || fail "the second run's WFdata.txt"
echo "ok: every band timed, the first run kept"
