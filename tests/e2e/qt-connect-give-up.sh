#!/usr/bin/env bash
# An address that never answers (a listener whose accept queue is full): the
# message box "ソケットCONNECTエラー" after the connect time-out, and the
# program ends within 1 s of OK, the settings file unchanged.
# Usage: APP LISTENER
source "$(dirname "$0")/lib.sh"
app=$1 listener=$2
"$listener" >"$WORK/port" &
SIM_PID=$!
wait_for 5 test -s "$WORK/port" || fail "the listener did not start"
SIM_PORT=$(cat "$WORK/port")
write_ini 450 460 1 0
cp "$WORK/KOV_Xport.ini" "$WORK/ini.before"
cp "$app" "$WORK/kov-xport"
cd "$WORK"
QT_QPA_PLATFORM=xcb ./kov-xport &
APP_PID=$!
find_window KOV_Xport_WindowsAPI
at 650 100
xdotool key Return
# The box is the window named exactly so; the form's name goes on.
wait_for 40 bash -c "xdotool search --name '^KOV_Xport_WindowsAPI\$' >'$WORK/box' 2>/dev/null" ||
  fail "no message box"
xdotool mousemove --window "$(head -1 "$WORK/box")" 20 20
sleep 0.3
xdotool key Return
wait_for 1 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end within 1 s of OK"
APP_PID=
cmp -s KOV_Xport.ini ini.before || fail "the settings file changed"
echo "ok: the message box after the time-out, the end at OK"
