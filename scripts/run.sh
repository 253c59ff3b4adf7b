#!/usr/bin/env bash
# Installs what is missing, builds kolvialarm.exe and starts it under Wine in
# the program directory ./program (made on first run and kept: the exe is
# refreshed, the settings and alarm files are left as the program left them).
# Without a working $DISPLAY a private Xvfb is started and a screenshot of
# the screen is saved as program/screenshot.png.
# KOLVI_RUN_SECONDS=N ends the program after N seconds.
source "$(dirname "$0")/lib.sh"

install_build_deps
build_windows --target kolvialarm

prog="$KOLVI_ROOT/program"
mkdir -p "$prog"
cp "$KOLVI_BUILD/win/kolvialarm.exe" "$prog/"
# The guide is kept as UTF-8 in the repository; the program's files are code page 932.
iconv -f UTF-8 -t CP932 "$KOLVI_ROOT/docs/readme.txt" >"$prog/readme.txt"
if [ ! -f "$prog/kolvialarm.ini" ]; then
  cp "$KOLVI_ROOT/examples/example.alm" "$prog/"
  printf '[list]\r\nlastopen=example.alm\r\n' >"$prog/kolvialarm.ini"
fi

ensure_display
trap 'stop_wineserver; stop_display' EXIT
use_japanese_locale
ensure_prefix "$KOLVI_BUILD/wineprefix-run"
# A taskbar with a notification area in the virtual desktop, so that the
# program's tray icon and its tip can be seen and used.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops\Default' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1 || true

log "starting $prog/kolvialarm.exe on display $DISPLAY"
(cd "$prog" && exec wine "$prog/kolvialarm.exe") &
pid=$!

if [ -n "${KOLVI_STARTED_XVFB:-}" ]; then
  for _ in $(seq 1 60); do
    xwininfo -root -tree 2>/dev/null | grep -q 'Kolvi' && break
    sleep 0.5
  done
  sleep 2
  import -window root "$prog/screenshot.png" && log "no display was set: started Xvfb on $DISPLAY; screenshot saved to $prog/screenshot.png"
fi

if [ -n "${KOLVI_RUN_SECONDS:-}" ]; then
  sleep "$KOLVI_RUN_SECONDS"
  # Ask the window to close, so that the settings are written as at any exit.
  wine taskkill /im kolvialarm.exe >/dev/null 2>&1 || true
  for _ in $(seq 1 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  wineserver -k >/dev/null 2>&1 || true
fi
wait "$pid" || true
