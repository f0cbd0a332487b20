#!/usr/bin/env bash
# Idle cost of the window: opens Files on a small folder under Xvfb, lets it settle, then counts
# its CPU time and wake-ups (context switches) over 10 seconds. The only expected wake-ups are
# the silent refresh deadlines (every 0.75 s for a small folder).
#
#   BUILD_DIR  build holding apps/file-explorer/file-explorer (default build/release)
#   SECONDS_IDLE  length of the measurement (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build/release}
bin="$build_dir/apps/file-explorer/file-explorer"
idle=${SECONDS_IDLE:-10}
[[ -x $bin ]] || { echo "idle.sh: $bin is missing" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "idle.sh: xvfb-run is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/folder"
for i in $(seq 1 50); do : > "$work/folder/file-$i.txt"; done

KAVO_UI_AUTOMATION_SOCKET= XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" \
  xvfb-run -a -s "-screen 0 1400x900x24" "$bin" "$work/folder" 2>/dev/null &
runner=$!
pid=""
for _ in $(seq 1 100); do
  pid=$(pgrep -n -f "^$bin $work/folder" || true)
  [[ -n $pid ]] && break
  sleep 0.1
done
[[ -n $pid ]] || { echo "idle.sh: the window did not start" >&2; kill $runner 2>/dev/null; exit 1; }
sleep 6  # start-up and the status bubble's fade-out

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
switches() { awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {s += $2} END {print s}' "/proc/$pid/status"; }
thread_switches() {
  local s=0
  for t in /proc/$pid/task/*/status; do
    s=$((s + $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {x += $2} END {print x}' "$t")))
  done
  echo $s
}
t0=$(ticks); w0=$(thread_switches)
sleep "$idle"
t1=$(ticks); w1=$(thread_switches)
kill "$pid" 2>/dev/null || true
wait $runner 2>/dev/null || true

hz=$(getconf CLK_TCK)
awk -v t=$((t1 - t0)) -v hz="$hz" -v s="$idle" -v w=$((w1 - w0)) 'BEGIN {
  printf "idle window over %d s: CPU %.3f s (%.2f%%), %d wake-ups (%.1f per second; 0.75 s refresh deadlines give %.1f)\n",
         s, t / hz, 100 * t / hz / s, w, w / s, 1 / 0.75
}'
