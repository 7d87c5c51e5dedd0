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
start_silent "$listener"
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
give_up_and_end
