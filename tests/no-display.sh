#!/bin/sh
# The game started with no display at all says in one line what it needs and
# fails, without the abort Qt would end in. A platform chosen by hand, in the
# environment or on the command line, still starts it: it waits at its first
# box, so still running after two seconds means it started.
# Usage: tests/no-display.sh PATH/TO/vantor
game=$1
fail() {
  echo "FAIL: $*"
  exit 1
}

out=$(env -i "$game" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "status $status without a display, not 1: $out"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "more than one line: $out"
case $out in
  *"desktop session"*"xvfb-run -a make run"*) ;;
  *) fail "it printed: $out" ;;
esac

timeout 2 env -i QT_QPA_PLATFORM=offscreen "$game" >/dev/null 2>&1
status=$?
[ "$status" -eq 124 ] || fail "QT_QPA_PLATFORM=offscreen: it ended with status $status"
timeout 2 env -i "$game" -platform offscreen >/dev/null 2>&1
status=$?
[ "$status" -eq 124 ] || fail "-platform offscreen: it ended with status $status"
echo "PASS: one line without a display, exit 1; offscreen chosen by hand starts it"
