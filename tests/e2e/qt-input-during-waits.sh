#!/usr/bin/env bash
# Enter pressed twice and a click on the disabled 測定中断 during the
# band-count pause press nothing: the run measures both passes, and Enter
# after it starts the next run. Usage: APP SIM
source "$(dirname "$0")/lib.sh"
app=$1 sim=$2
cp "$app" "$WORK/kov-xport"
start_sim "$sim"
write_ini 450 460 2 0
cd "$WORK"
./kov-xport &
APP_PID=$!
find_window KOV_Xport_WindowsAPI
at 650 100
xdotool key Return
sleep 0.3
xdotool key Return
# 測定中断 sits at 608,184 and is 89 x 41 pixels.
at 650 204
xdotool click 1
at 650 100
wait_for 20 received EX 1 || fail "the run did not end"
[[ $(commands GD) -eq 2 ]] || fail "$(commands GD) passes measured, not 2"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended"
xdotool key Return
wait_for 20 received EX 2 || fail "Enter after the run did not start the next one"
[[ $(commands FP10) -eq 2 ]] || fail "$(commands FP10) runs, not 2"
echo "ok: nothing pressed during the pause; the focus back on 測定開始 after the run"
