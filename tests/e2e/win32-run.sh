#!/usr/bin/env bash
# The Windows program under Wine against the simulator: a run of two passes
# over two bands, checked on the wire, in the files and on the screen; an
# exit in the middle of the receive loop; a refused connection with its
# message box. Usage: EXE SIM
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/win32-lib.sh"
exe=$1 sim=$2
[[ -x "$sim" ]] || { echo "no simulator for this machine at $sim: skipped"; exit 77; }
[[ -n "${DISPLAY:-}" ]] || { echo "no display: skipped"; exit 77; }
CONVERT=/usr/bin/convert-im6.q16
[[ -x $CONVERT ]] || CONVERT=$(command -v convert)
convert() { "$CONVERT" "$@"; }

echo "== a run"
start_sim "$sim"
write_ini 450 470 2 0
t0=$(date +%s)
start_app "$exe"
at 650 100
xdotool key Return
wait_for 30 received EX 1 || fail "the run did not end"
sleep 0.5
check_times 2 2 "$t0" "$(date +%s)"
expected=$'FP10\nCF455\nGD\nCF465\nCF465\nGD\nCF455\nCF455\nGD\nCF465\nCF465\nGD\nCF455\nEX'
got=$(sed 's/^[0-9]* //; s/\\r\\n$//' "$WORK/sim.log")
[[ "$got" == "$expected" ]] || fail "the commands differ: $got"
lines=$(grep -c $'\r$' "$WORK/WFdata.txt")
[[ $lines -eq $((1 + 4 * 321)) ]] || fail "WFdata.txt holds $lines lines"
[[ $(head -c 10 "$WORK/WFdata.txt") == $'\r\n 1,  1,-' ]] || fail "WFdata.txt does not begin as it should"
grep -q $'^Xport_IP=127.0.0.1\r$' "$WORK/KOV_Xport.ini" || fail "the IP was not stored"
grep -q $'^COUNT=2\r$' "$WORK/KOV_Xport.ini" || fail "the settings file lost a key"
shot "$WORK/run.png"
# Left beside the program for a look: the window after the run.
cp "$WORK/run.png" "$(dirname "$exe")/e2e-win32-run.png"
# The spectrum graph at 8,168 (585 x 241): yellow bars near its foot, the
# magenta middle line; the waterfall at 8,408: the second pass's row.
[[ $(pixel "$WORK/run.png" 300 400) == "255,255,0" ]] || fail "no level bar: $(pixel "$WORK/run.png" 300 400)"
[[ $(pixel "$WORK/run.png" 300 175) == "128,0,128" ]] || fail "no middle line: $(pixel "$WORK/run.png" 300 175)"
[[ $(pixel "$WORK/run.png" 100 640) != "0,0,255" ]] || fail "no second row in the waterfall"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after the run"

echo "== a second start keeps the first run"
cp "$WORK/WFdata.txt" "$WORK/first-data.txt"
cp "$WORK/WFtime.csv" "$WORK/first-times.csv"
at 650 100
xdotool key Return
wait_for 30 received EX 2 || fail "the second run did not end"
sleep 0.5
check_kept "$WORK/first-data.txt" "$WORK/first-times.csv"
xdotool key --window "$WIN" alt+F4 2>/dev/null || true
kill -KILL "$APP_PID" 2>/dev/null || true
APP_PID=

echo "== exit inside the receive loop"
kill -TERM "$SIM_PID"; wait "$SIM_PID" 2>/dev/null || true
start_sim "$sim" --silent
write_ini 450 460 1 0
start_app "$exe"
at 650 100
xdotool key Return
wait_for 20 received GD 1 || fail "no GD"
at 650 280   # 終了 at 608,256
xdotool click 1
wait_for 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
APP_PID=
[[ $(commands EX) -eq 1 ]] || fail "no EX at the exit"

echo "== a refused connection"
kill -TERM "$SIM_PID"; wait "$SIM_PID" 2>/dev/null || true
SIM_PID=
write_ini 450 460 1 0   # the port of the simulator that has just stopped
cp "$WORK/KOV_Xport.ini" "$WORK/ini.before"
start_app "$exe"
at 650 100
xdotool key Return
find_exact KOV_Xport_WindowsAPI || fail "no message box"
xdotool mousemove --window "$BOX" 20 20
xdotool key Return
wait_for 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end after OK"
APP_PID=
cmp -s "$WORK/KOV_Xport.ini" "$WORK/ini.before" || fail "the settings file changed"
echo "ok: the run, the exit and the refusal"
