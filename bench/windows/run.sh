#!/usr/bin/env bash
# The Windows program's measurements under Wine, as one table, with the
# desktop build's figures as baselines where they fit: `make bench-windows`.
# Usage: bench/windows/run.sh BUILD_WINDOWS BUILD
set -euo pipefail
build=$(realpath "${1:?Windows build directory}")
native=$(realpath "${2:?desktop build directory}")
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
export WINEPREFIX=$build/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
work=$(mktemp -d)
cleanup() { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; rm -rf "$work" "$WINEPREFIX"; }
trap cleanup EXIT
rm -rf "$WINEPREFIX"
timeout 300 wineboot --init >/dev/null 2>&1
wineserver -w
# One Wine server for every run, as on a desktop where Wine is already up.
wineserver -p
line() { printf '| %-52s | %10s | %10s | %-26s | %6s |\n' "$@"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

# The program's size against the desktop program's, both stripped.
strip -o "$work/vantor" "$native/vantor"
exe_kib=$(( $(stat -c %s "$build/vantor.exe") / 1024 ))
elf_kib=$(( $(stat -c %s "$work/vantor") / 1024 ))

# From starting the program to its first box on the screen.
launch() {
  local program=$1 title=$2 start found=
  start=$(now_ms)
  wine "$program" >/dev/null 2>&1 &
  for _ in $(seq 5000); do
    if xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; then found=$(now_ms); break; fi
    sleep 0.002
  done
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  [[ -n $found ]] || { echo "no box from $program" >&2; return 1; }
  echo $((found - start))
}
# A start lost to a loaded machine is tried once more.
for _ in 1 2 3; do launch "$build/vantor.exe" vantor || launch "$build/vantor.exe" vantor; done | median >"$work/game"
for _ in 1 2 3; do
  launch "$build/bench/windows/bare_window.exe" bare || launch "$build/bench/windows/bare_window.exe" bare
done | median >"$work/bare"

# Ten seconds of a game, the bullet flying and every key held, in the
# Windows window under Wine and then in the desktop window, on the same
# display: the machine's load weighs on both alike.
rate=$(timeout 60 wine "$build/bench/windows/tick_rate.exe" 10 | tr -d '\r')
desktop=$(QT_QPA_PLATFORM=xcb timeout 60 "$native/bench/tick_rate" 10 2>/dev/null)
field() { sed -E "s/.*$1.*/\\1/" <<<"$2"; }
per_second=$(field '^([0-9.]+) per second' "$rate")
longest=$(field 'longest gap ([0-9.]+) ms' "$rate")
missed=$(field 'or more ([0-9]+),' "$rate")
clock_off=$(field 'at most ([0-9.]+) ms' "$rate")
cpu=$(field 'CPU ([0-9.]+)%' "$rate")
desktop_per_second=$(field ': ([0-9.]+) per second' "$desktop")
desktop_longest=$(field 'longest gap ([0-9.]+) ms' "$desktop")
desktop_missed=$(field 'or more ([0-9]+)' "$desktop")
desktop_clock_off=$(field 'by at most ([0-9.]+) ms' "$desktop")
desktop_cpu=$(field 'CPU ([0-9.]+)%' "$desktop")

# The tick benchmark under Wine against the desktop build's.
ns() { tr -d '"\r' <<<"$1" | awk -F, -v n="$2" '$1 == n {printf "%.1f", $4}'; }
wine_ticks=$(timeout 120 wine "$build/bench/windows/tick_benchmark.exe")
native_ticks=$("$native/bench/tick_benchmark" --benchmark_format=csv 2>/dev/null)

line "measure" "Windows" "baseline" "baseline is" "ratio"
printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..54})" "------------" "------------" \
  "----------------------------" "--------"
line "program size, KiB (stripped)" "$exe_kib" "$elf_kib" "the desktop program" "$(ratio "$exe_kib" "$elf_kib")"
line "start to the first box under Wine, ms (median of 3)" "$(cat "$work/game")" "$(cat "$work/bare")" \
  "a bare Win32 window" "$(ratio "$(cat "$work/game")" "$(cat "$work/bare")")"
line "ticks per second delivered (10 s)" "$per_second" "$desktop_per_second" "the desktop window (Xvfb)" \
  "$(ratio "$per_second" "$desktop_per_second")"
line "longest gap between ticks, ms" "$longest" "$desktop_longest" "the desktop window (Xvfb)" \
  "$(ratio "$longest" "$desktop_longest")"
line "ticks missed (gaps of two periods or more)" "$missed" "$desktop_missed" "the desktop window (Xvfb)" ""
line "the clock's worst miss of one second, ms" "$clock_off" "$desktop_clock_off" "the desktop window (Xvfb)" \
  "$(ratio "$clock_off" "$desktop_clock_off")"
line "CPU of a running game, bullet flying, % of one core" "$cpu" "$desktop_cpu" "the desktop window (Xvfb)" \
  "$(ratio "$cpu" "$desktop_cpu")"
for name in FlyingTick IdleTick; do
  line "tick benchmark $name, ns" "$(ns "$wine_ticks" $name)" "$(ns "$native_ticks" $name)" \
    "the desktop build, native" "$(ratio "$(ns "$wine_ticks" $name)" "$(ns "$native_ticks" $name)")"
done
