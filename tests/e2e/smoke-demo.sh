#!/bin/bash
# Smoke test of the whole application: starts quorvex-demo on a virtual display with a
# private session bus, waits until the four emulated devices are shown, reads the
# device report and hands the lights away and back over the bus the way a user's
# script would, then stops it with SIGTERM and checks that it ended cleanly.
#
#   smoke-demo.sh PATH/TO/quorvex-demo
set -u
demo=$1

if [ "${2:-}" != "--inside" ]; then
  exec bash "$(dirname "$0")/../../scripts/private-session.sh" 1366x768 bash "$0" "$demo" --inside
fi

fail() {
  echo "FAIL: $*"
  [ -n "${pid:-}" ] && kill -KILL "$pid" 2>/dev/null
  echo "--- application output ---"
  cat "$HOME/demo.log"
  exit 1
}

QUORVEX_EXIT_REPORT=1 "$demo" >"$HOME/demo.log" 2>&1 &
pid=$!

# The four devices appear as items of the selector.
state=""
for _ in $(seq 1 200); do
  state=$("$demo" state 2>/dev/null) || true
  case "$state" in
  *items=*keyboard*) ;;
  *) sleep 0.1; continue ;;
  esac
  if [[ $state == *mouse,* || $state == *,mouse* ]] && [[ $state == *mousepad* ]] &&
    [[ $state == *headset* ]] && [[ $state == *window=shown* ]]; then
    break
  fi
  sleep 0.1
done
echo "state: $state"
[[ $state == *items=mouse,keyboard,mousepad,headset* || $state == *items=keyboard,mouse,mousepad,headset* ]] ||
  fail "the four devices are not all shown"
[[ $state == *selected=keyboard* ]] || fail "the keyboard (first to arrive) is not selected"

bus=(--session --dest org.quorvex.DeviceCenter --object-path /org/quorvex/DeviceCenter)

# The device report: kind 5, 1024 bytes, 2 3 0 2, four rows of the device-type table.
report=$(gdbus call "${bus[@]}" --method org.quorvex.DeviceCenter1.DeviceReport) ||
  fail "DeviceReport failed"
python3 - "$report" <<'PY' || fail "the device report has the wrong layout"
import re, struct, sys
reply = sys.argv[1]
kind = int(re.search(r"uint32 (\d+)", reply).group(1))
data = bytes(int(b, 16) for b in re.findall(r"0x([0-9a-f]{2})", reply))
assert kind == 5, kind
assert len(data) == 1024, len(data)
assert struct.unpack_from("<4I", data, 0) == (2, 3, 0, 2)
assert struct.unpack_from("<I", data, 16) == (4,)
rows = [struct.unpack_from("<3I", data, 20 + 12 * r) for r in range(4)]
assert rows == [(0, 0, 2), (0x320F, 0x5055, 1), (0, 0, 3), (0x0C76, 0x1630, 7)], rows
assert not any(data[68:])
print("report:", rows)
PY

# Light control away and back.
request='{4695579F-999A-41d4-9FAF-EFFCE93EBF17}'
gdbus call "${bus[@]}" --method org.quorvex.DeviceCenter1.Post "$request" 1 0 >/dev/null ||
  fail "Post (lights away) failed"
sleep 0.2
[[ $("$demo" state) == *light=0* ]] || fail "light control was not handed away"
gdbus call "${bus[@]}" --method org.quorvex.DeviceCenter1.Post "$request" 1 1 >/dev/null ||
  fail "Post (lights back) failed"
sleep 0.2
[[ $("$demo" state) == *light=1* ]] || fail "light control did not come back"

# A game event is accepted by name.
gdbus call "${bus[@]}" --method org.quorvex.DeviceCenter1.Post Game_Start 0 0 >/dev/null ||
  fail "Post (Game_Start) failed"

# Hidden in the tray, a second start brings the running window back and ends at once.
[[ $("$demo" hide) == *window=hidden* ]] || fail "the window did not hide"
timeout 20 "$demo" >"$HOME/second.log" 2>&1
code=$?
[ "$code" -eq 0 ] || fail "the second start ended with $code"
sleep 0.3
[[ $("$demo" state) == *window=shown* ]] || fail "the second start did not present the window"

# Stop cleanly.
kill -TERM "$pid"
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
grep -q "worker threads left at exit: 0" "$HOME/demo.log" || fail "worker threads were left running"
echo "PASS"
