#!/usr/bin/env bash
# Whole-process figures of quorvex-demo on a virtual display: CPU use over an idle
# minute with the window shown and with it hidden in the tray, and the peak resident
# memory. Uses only /proc and the demo's own control requests.
#
#   scripts/measure-idle.sh [SECONDS] [PATH/TO/quorvex-demo]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
demo=$(realpath "${2:-build/release/frontend/qt/app/quorvex-demo}")

if [ "${3:-}" != "--inside" ]; then
  exec bash scripts/private-session.sh 1920x1080 bash "$0" "$seconds" "$demo" --inside
fi

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

"$demo" >/dev/null 2>&1 &
pid=$!
until "$demo" state 2>/dev/null | grep -q "items=.*headset"; do sleep 0.2; done
sleep 3

measure() {
  local start end
  start=$(cpu_ticks "$pid")
  sleep "$seconds"
  end=$(cpu_ticks "$pid")
  awk -v t=$((end - start)) -v hz="$ticks" -v s="$seconds" \
    'BEGIN { printf "%.2f%% of one core", 100 * t / hz / s }'
}
echo "idle, window shown:  $(measure)"
"$demo" hide >/dev/null
sleep 1
echo "idle, window hidden: $(measure)"
echo "peak resident memory: $(awk '/VmHWM/ { print $2 " kB" }' "/proc/$pid/status")"
kill -TERM "$pid"
wait "$pid"
