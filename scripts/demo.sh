#!/usr/bin/env bash
# Starts the application with emulated devices plugged in (no hardware needed):
# installs what is missing, builds quorvex-demo, and runs it. Arguments go to the demo,
# so `bash scripts/demo.sh unplug mouse` talks to a demo that is already running.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quorvex-demo -j "$(nproc)"

demo=build/release/frontend/qt/app/quorvex-demo
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. On a machine without a desktop, try:" >&2
  echo "  xvfb-run -a -s '-screen 0 1920x1080x24' dbus-run-session -- $demo" >&2
  exit 1
fi
exec "$demo" "$@"
