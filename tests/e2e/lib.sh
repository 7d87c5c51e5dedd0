# Helpers for the end-to-end tests: the real programs on a virtual display,
# driven with xdotool, against the simulator on 127.0.0.1. Source it; every
# function fails the test (exit 1) when what it waits for does not come.

set -euo pipefail

# The program's real X window on the virtual display, whatever platform the
# caller exported (build machines often export offscreen).
export QT_QPA_PLATFORM=xcb

WORK=$(mktemp -d)
SIM_PID=
APP_PID=
cleanup() {
  [[ -n "$APP_PID" ]] && kill -KILL "$APP_PID" 2>/dev/null || true
  [[ -n "$SIM_PID" ]] && kill -TERM "$SIM_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -f "$WORK/sim.log" ]] && { echo "-- simulator log:" >&2; cut -c1-80 "$WORK/sim.log" >&2; }
  exit 1
}

# wait_for SECONDS COMMAND...: polls the command every 0.1 s.
wait_for() {
  local tenths=$(($1 * 10))
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# start_sim SIM [OPTIONS...]: the simulator on a free port; sets SIM_PORT.
start_sim() {
  local sim=$1
  shift
  "$sim" --port 0 --log "$WORK/sim.log" "$@" >"$WORK/sim.out" &
  SIM_PID=$!
  wait_for 5 grep -q listening "$WORK/sim.out" || fail "the simulator did not start"
  SIM_PORT=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$WORK/sim.out")
}

# start_silent LISTENER: a listener whose accept queue is full, an address
# that never answers, in the simulator's place; sets SIM_PORT.
start_silent() {
  "$1" >"$WORK/port" &
  SIM_PID=$!
  wait_for 5 test -s "$WORK/port" || fail "the listener did not start"
  SIM_PORT=$(cat "$WORK/port")
}

# give_up_and_end: 測定開始 against the silent address, the message box after
# the connect time-out, OK, and the program (APP_PID) gone within 1 s; the
# settings file as it was before.
give_up_and_end() {
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
}

# write_ini START END COUNT INTERVAL: the settings file beside the program.
write_ini() {
  printf '[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=%s\r\n[MES_PARA]\r\nSTART_FQ=%s\r\nEND_FQ=%s\r\nINTERVAL=%s\r\nCOUNT=%s\r\nD_LEVEL= 1\r\n' \
    "$SIM_PORT" "$1" "$2" "$4" "$3" >"$WORK/KOV_Xport.ini"
}

# commands NAME: how many times the simulator received the command.
commands() { grep -cF " $1\\r\\n" "$WORK/sim.log" || true; }
# received NAME N: whether it received the command at least N times.
received() { [[ $(commands "$1") -ge $2 ]]; }

# find_window TITLE: sets WIN to the program's window once it is shown.
find_window() {
  wait_for 40 bash -c "xdotool search --name '$1' >'$WORK/win' 2>/dev/null" ||
    fail "no window named $1"
  WIN=$(head -1 "$WORK/win")
}

# at X Y: the pointer over a point of the window's client area (pixels), so
# that keys typed through XTEST reach the window without a window manager.
at() { xdotool mousemove --window "$WIN" "$1" "$2"; }

# check_times BANDS PASSES T0 T1: WFtime.csv in the work folder holds a line
# per band of every pass, in order, each timed in Japan's local time between
# T0 and T1 (seconds since 1970).
check_times() {
  local bands=$1 passes=$2 t0=$3 t1=$4 n=0 pass band centre time at
  [[ $(head -1 "$WORK/WFtime.csv") == $'pass,band,center_mhz,time\r' ]] || fail "WFtime.csv has no header"
  while IFS=, read -r pass band centre time; do
    n=$((n + 1))
    [[ "$pass,$band" == "$(((n - 1) / bands + 1)),$(((n - 1) % bands + 1))" ]] ||
      fail "WFtime.csv line $n is for pass $pass band $band"
    [[ $time == *+09:00$'\r' ]] || fail "WFtime.csv line $n is not in local time: $time"
    at=$(date -d "${time%$'\r'}" +%s)
    ((at >= t0 && at <= t1)) || fail "WFtime.csv line $n lies outside the run: $time"
  done < <(tail -n +2 "$WORK/WFtime.csv")
  ((n == bands * passes)) || fail "WFtime.csv holds $n bands"
}

# check_kept DATA TIMES: the first run's two files, kept byte for byte
# under the stamp of their first band.
check_kept() {
  local stamp
  stamp=$(sed -n '2s/^[0-9]*,[0-9]*,[0-9.]*,\([0-9]*\)-\([0-9]*\)-\([0-9]*\)T\([0-9]*\):\([0-9]*\):\([0-9]*\).*/\1\2\3-\4\5\6/p' "$2")
  cmp -s "$1" "$WORK/WFdata-$stamp.txt" || fail "WFdata-$stamp.txt is not the first run's WFdata.txt"
  cmp -s "$2" "$WORK/WFtime-$stamp.csv" || fail "WFtime-$stamp.csv is not the first run's WFtime.csv"
}
