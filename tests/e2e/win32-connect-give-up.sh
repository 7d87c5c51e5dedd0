#!/usr/bin/env bash
# The Windows program under Wine against an address that never answers (a
# listener of this machine whose accept queue is full): the message box after
# the connect time-out, and the program ends within 1 s of OK, the settings
# file unchanged. Usage: EXE LISTENER
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/win32-lib.sh"
exe=$1 listener=$2
[[ -x "$listener" ]] || { echo "no listener for this machine at $listener: skipped"; exit 77; }
[[ -n "${DISPLAY:-}" ]] || { echo "no display: skipped"; exit 77; }
"$listener" >"$WORK/port" &
SIM_PID=$!
wait_for 5 test -s "$WORK/port" || fail "the listener did not start"
SIM_PORT=$(cat "$WORK/port")
write_ini 450 460 1 0
cp "$WORK/KOV_Xport.ini" "$WORK/ini.before"
# Wine withdraws a window from a window manager and waits 2 s for one that
# the virtual display does not have, once for the box and once for the form:
# under a name of its own, the program's windows are left unmanaged, so that
# what is timed is the program's own end.
LC_ALL=C.UTF-8 "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\KOV_Xport_GiveUp.exe\X11 Driver' \
  /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
cp "$exe" "$WORK/KOV_Xport_GiveUp.exe"
(cd "$WORK" && exec "$WINE" ./KOV_Xport_GiveUp.exe </dev/null >/dev/null 2>&1) &
APP_PID=$!
find_window 'KOV_Xport_WindowsAPI_'
sleep 1
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
cmp -s "$WORK/KOV_Xport.ini" "$WORK/ini.before" || fail "the settings file changed"
echo "ok: the message box after the time-out, the end at OK"
