#!/usr/bin/env bash
# Launch time to the first message box, peak memory and idle CPU of the game
# against a bare Qt Widgets program of the same shape, in one Xvfb server,
# in the same run, as rows of the table that bench/run-all.sh prints.
# Usage: bench/compare-with-bare-qt.sh BUILD_DIR [RUNS] [CPU_SECONDS]
set -euo pipefail
build=${1:?build directory}
runs=${2:-5}
cpu_seconds=${3:-10}
work=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((90 + RANDOM % 100))
# -noreset: between two runs no client is left, and a server that resets then
# refuses the next program's connection now and again.
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# One run: prints "launch_ms peak_kib cpu_percent".
measure() {
  local program=$1 box_title=$2 start found pid timepid before after
  start=$(now_ms)
  /usr/bin/time -v -o "$work/time" "$program" >/dev/null 2>&1 &
  timepid=$!
  found=""
  for _ in $(seq 2000); do
    if xdotool search --onlyvisible --name "^${box_title}\$" >/dev/null 2>&1; then found=$(now_ms); break; fi
    sleep 0.002
  done
  [[ -n "$found" ]] || { echo "no box from $program" >&2; kill $timepid; return 1; }
  pid=$(pgrep -P "$timepid")
  sleep 0.3
  xdotool key Return
  sleep 1
  before=$(cpu_ticks "$pid")
  sleep "$cpu_seconds"
  after=$(cpu_ticks "$pid")
  kill -TERM "$pid"
  wait "$timepid" 2>/dev/null || true
  local peak
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
  echo "$((found - start)) $peak $(awk -v t=$((after - before)) -v s="$cpu_seconds" -v hz="$(getconf CLK_TCK)" \
    'BEGIN {printf "%.2f", 100 * t / hz / s}')"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

for name in vantor bare; do
  program=$build/vantor; title=vantor
  [[ $name == bare ]] && { program=$build/bench/bare_window; title=bare; }
  : >"$work/$name"
  for _ in $(seq "$runs"); do measure "$program" "$title" >>"$work/$name"; done
done

row() {  # metric column
  local game bare
  game=$(awk -v c="$2" '{print $c}' "$work/vantor" | median)
  bare=$(awk -v c="$2" '{print $c}' "$work/bare" | median)
  awk -v m="$1" -v g="$game" -v b="$bare" \
    'BEGIN {printf "| %-52s | %10s | %10s | %-23s | %6.2f |\n", m, g, b, "bare Qt window", (b > 0 ? g / b : 0)}'
}
row "launch to the first box, ms (median of $runs)" 1
row "peak memory, KiB (median of $runs)" 2
row "CPU while idle, % of one core (median of $runs)" 3
