#!/usr/bin/env bash
# A zip of scripts/package-windows tried as its README tells a user: unzipped,
# its xport-sim.exe started, KOV_Xport.ini beside the program pointing at it,
# a run, then its wfdata-export.exe on the recording. Usage: ZIP
# (KOV_WINE: the loader of the zip's build)
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/win32-lib.sh"
zip=$1
[[ -n "${DISPLAY:-}" ]] || { echo "no display: skipped"; exit 77; }

unzip -q "$zip" -d "$WORK"
dir=$WORK/KOV_Xport_WindowsAPI
for f in KOV_Xport_WindowsAPI.exe xport-sim.exe wfdata-export.exe README.txt; do
  [[ -f "$dir/$f" ]] || fail "the zip has no $f"
done

printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$WINE" "$dir/xport-sim.exe" >"$WORK/sim"
chmod +x "$WORK/sim"
start_sim "$WORK/sim"
write_ini 450 470 1 0
mv "$WORK/KOV_Xport.ini" "$dir/"
(cd "$dir" && exec "$WINE" ./KOV_Xport_WindowsAPI.exe </dev/null >/dev/null 2>&1) &
APP_PID=$!
find_window 'KOV_Xport_WindowsAPI_'
sleep 1
at 650 100
xdotool key Return
wait_for 30 received EX 1 || fail "the run did not end"
lines=$(grep -c $'\r$' "$dir/WFdata.txt")
[[ $lines -eq $((1 + 2 * 321)) ]] || fail "WFdata.txt holds $lines lines"
xdotool key --window "$WIN" alt+F4 2>/dev/null || true
kill -KILL "$APP_PID" 2>/dev/null || true
APP_PID=

# The README's example.
(cd "$dir" && "$WINE" ./wfdata-export.exe WFdata.txt --ini KOV_Xport.ini --waterfall waterfall.png \
  --csv points.csv </dev/null >"$WORK/export.out" 2>&1) || fail "the export failed: $(cat "$WORK/export.out")"
[[ $(head -c 8 "$dir/waterfall.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
  fail "waterfall.png is no PNG"
# Every point of the run, at its frequency, with the level the program stored
# (and whatever columns follow).
expected=$(awk -F, 'NF == 3 { gsub(/[ \r]/, ""); printf "%d,%d,%.10g,%d\n", $1, $2, 450 + ($2 - 1) / 32, $3 }' \
  "$dir/WFdata.txt")
got=$(tail -n +2 "$dir/points.csv" | tr -d '\r' | cut -d, -f1-4)
[[ "$got" == "$expected" ]] || fail "points.csv differs: $(diff <(echo "$expected") <(echo "$got") | head -5)"
echo "ok: the unzipped program ran against its simulator, and its exporter read the run"
