#!/usr/bin/env bash
# An address that never answers (a listener whose accept queue is full): the
# message box "ソケットCONNECTエラー" after the connect time-out, and the
# program ends within 1 s of OK, the settings file unchanged.
# Usage: APP LISTENER
source "$(dirname "$0")/lib.sh"
app=$1 listener=$2
start_silent "$listener"
write_ini 450 460 1 0
cp "$WORK/KOV_Xport.ini" "$WORK/ini.before"
cp "$app" "$WORK/kov-xport"
cd "$WORK"
QT_QPA_PLATFORM=xcb ./kov-xport &
APP_PID=$!
find_window KOV_Xport_WindowsAPI
give_up_and_end
