#!/usr/bin/env bash
# Every measurement of the game as one table: `make bench`.
# Usage: bench/run-all.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
here=$(dirname "$0")

rule() { printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..54})" "------------" "------------" \
  "-------------------------" "--------"; }
line() { printf '| %-52s | %10s | %10s | %-23s | %6s |\n' "$@"; }

# The frame tick in ns, against an idle tick with the bullet parked.
ticks=$("$build/bench/tick_benchmark" --benchmark_format=csv 2>/dev/null | tr -d '"')
ns() { awk -F, -v n="$1" '$1 == n {printf "%.1f", $4}' <<<"$ticks"; }
flying=$(ns FlyingTick)
idle=$(ns IdleTick)

# The real window under Xvfb for ten seconds, the bullet flying, all keys held.
rate=$(xvfb-run -a -s "-screen 0 1024x768x24 -noreset" env QT_QPA_PLATFORM=xcb "$build/bench/tick_rate" 10 2>/dev/null)
per_second=$(sed -E 's/.*: ([0-9.]+) per second.*/\1/' <<<"$rate")
longest=$(sed -E 's/.*longest gap ([0-9.]+) ms.*/\1/' <<<"$rate")
missed=$(sed -E 's/.*or more ([0-9]+).*/\1/' <<<"$rate")
cpu=$(sed -E 's/.*CPU ([0-9.]+)%.*/\1/' <<<"$rate")
clock_off=$(sed -E 's/.*by at most ([0-9.]+) ms.*/\1/' <<<"$rate")
to_paint=$(sed -E 's/.*tick to paint ([0-9.]+) ms.*/\1/' <<<"$rate")

line "measure" "game" "baseline" "baseline is" "ratio"
rule
line "frame tick, bullet flying, keys held, ns" "$flying" "$idle" "idle tick, headless" \
  "$(awk -v a="$flying" -v b="$idle" 'BEGIN {printf "%.2f", a / b}')"
"$here/compare-with-bare-qt.sh" "$build" 3 5
line "ticks per second delivered (10 s, Xvfb)" "$per_second" "64" "the timer's design rate" \
  "$(awk -v a="$per_second" 'BEGIN {printf "%.3f", a / 64}')"
line "longest gap between ticks, ms" "$longest" "15.625" "one period" \
  "$(awk -v a="$longest" 'BEGIN {printf "%.2f", a / 15.625}')"
line "ticks missed (gaps of two periods or more)" "$missed" "0" "" ""
line "the clock's worst miss of one second, ms" "$clock_off" "20" "the allowed miss" \
  "$(awk -v a="$clock_off" 'BEGIN {printf "%.2f", a / 20}')"
line "CPU of a running game, bullet flying, % of one core" "$cpu" "" "" ""
line "from a tick to the screen's paint, ms (median)" "$to_paint" "15.625" "one period" \
  "$(awk -v a="$to_paint" 'BEGIN {printf "%.3f", a / 15.625}')"
