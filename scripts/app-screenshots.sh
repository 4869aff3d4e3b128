#!/usr/bin/env bash
# Renders the main window of quorvex-demo on a virtual display into docs/screenshots/:
# with no device, with the keyboard alone, and with all four emulated devices, at DPI
# 96 (a 1366 x 768 screen) and 144 (1920 x 1080).
#
#   scripts/app-screenshots.sh [PATH/TO/quorvex-demo]
set -euo pipefail
cd "$(dirname "$0")/.."
demo=$(realpath "${1:-build/release/frontend/qt/app/quorvex-demo}")
out=$(pwd)/docs/screenshots

if [ "${2:-}" != "--inside" ]; then
  for screen in 1366x768 1920x1080; do
    bash scripts/private-session.sh "$screen" bash "$0" "$demo" --inside "$screen"
  done
  exit 0
fi

screen=$3
sw=${screen%x*}
sh=${screen#*x}
if [ "$sw" -gt 1500 ]; then dpi=144; else dpi=96; fi
w=$((800 * dpi / 96))
h=$((572 * dpi / 96))
crop="${w}x${h}+$(((sw - w) / 2))+$(((sh - h) / 2))"

# The pointer starts in the middle of the screen, over the window; park it in a corner
# so that no control shows its hover look.
park_pointer() {
python3 - <<'PY'
import ctypes, ctypes.util
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 2 + [ctypes.c_int] * 2
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
if d:
    x.XWarpPointer(d, 0, x.XDefaultRootWindow(d), 0, 0, 0, 0, 1, 1)
    x.XFlush(d)
    x.XCloseDisplay(d)
PY
}

"$demo" >/dev/null 2>&1 &
pid=$!
until "$demo" state 2>/dev/null | grep -q "items=.*headset"; do sleep 0.2; done
sleep 1
shot() {
  park_pointer
  sleep 0.3
  import -window root -crop "$crop" +repage "$out/$1_$dpi.png"
}
shot main_window_four_devices
for d in headset receiver-keyboard mouse receiver-mouse mousepad; do "$demo" unplug "$d" >/dev/null; done
sleep 1
shot main_window_keyboard
"$demo" unplug keyboard >/dev/null
sleep 1
shot main_window_no_device
kill -TERM "$pid"
wait "$pid"
