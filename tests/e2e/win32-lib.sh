# Helpers for the Windows program under Wine, on top of lib.sh. The caller's
# WINEPREFIX must have been started on this display (scripts/wine-gui), and
# KOV_WINE names the loader of the build under test.
WINE=${KOV_WINE:-/usr/lib/wine/wine64}
# A 32-bit program in a 64-bit prefix would run, as on 64-bit Windows, and
# hide what only 32-bit Windows does.
if [[ $WINE == */wine && -d "${WINEPREFIX:-$HOME/.wine}/drive_c/windows/syswow64" ]]; then
  echo "FAIL: the 32-bit program in the 64-bit prefix ${WINEPREFIX:-}" >&2
  exit 1
fi

# start_app EXE [FOLDER]: the program copied beside the settings file (in
# the work folder, or FOLDER) and started there.
start_app() {
  local folder=${2:-$WORK}
  cp "$1" "$folder/KOV_Xport_WindowsAPI.exe"
  # Japan's time zone, as the operators have it: the times file shows +09:00.
  (cd "$folder" && TZ=Asia/Tokyo exec "$WINE" ./KOV_Xport_WindowsAPI.exe </dev/null >/dev/null 2>&1) &
  APP_PID=$!
  find_window 'KOV_Xport_WindowsAPI_'
  # Shown is not yet ready for input: Wine maps the window a moment later.
  sleep 1
}

# A window with exactly this name: the message box, not the form.
find_exact() {
  wait_for 20 bash -c "xdotool search --name '^$1\$' >'$WORK/box' 2>/dev/null" || return 1
  BOX=$(head -1 "$WORK/box")
}

# shot FILE: the form's client area as it is on the screen.
shot() { import -window "$WIN" "$1"; }

# pixel FILE X Y: "R,G,B" of one pixel.
pixel() { convert "$1" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" -crop "1x1+$2+$3" info:; }
