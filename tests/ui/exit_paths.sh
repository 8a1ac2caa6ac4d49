#!/usr/bin/env bash
# The real program's ways out, each played by the pilot: Sortir with the bench in use, the close
# buttons while a box is up, the window closed under its box, and SIGTERM with a box up.
# Usage: exit_paths.sh PROGRAM PRELOAD (PRELOAD: the pilot, after the sanitizer runtime if any).
set -u
program=$1
preload=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
failed=0

fail() {
  echo "FAIL $1: $2"
  sed 's/^/    /' "$work/$1.log"
  failed=1
}

# Whatever the way out, a sanitizer must have nothing to say, and the pilot must have played it all.
check_log() {
  if grep -qE 'AddressSanitizer|LeakSanitizer|runtime error:' "$work/$1.log"; then fail "$1" "sanitizer report"; fi
  if ! grep -q "^pilot: $2" "$work/$1.log"; then fail "$1" "the pilot did not get to '$2'"; fi
}

# The program ends itself: status 0. The timeout only turns a hang into a failure.
ends_cleanly() {
  local scenario=$1 marker=$2
  timeout -s KILL 120 env CORVANI_PILOT="$scenario" LD_PRELOAD="$preload" "$program" 2>"$work/$scenario.log"
  local status=$?
  if [ "$status" -ne 0 ]; then fail "$scenario" "exit status $status, not 0"; else echo "ok   $scenario: exit status 0"; fi
  check_log "$scenario" "$marker"
}

ends_cleanly sortir "leaving by the menu"
ends_cleanly close-during-box "closing the window"
ends_cleanly close-window-with-box "closing the window under its box"

# SIGTERM once the pilot says the bench is in use and a box is up. The program installs no
# handler, so the signal's default action ends it; a crash or a hang is the failure.
mkfifo "$work/err"
env CORVANI_PILOT=wait LD_PRELOAD="$preload" "$program" 2>"$work/err" &
pid=$!
# Only a hang guard: a program still there two minutes on is killed, and fails below.
(timeout 120 tail -s 0.1 --pid="$pid" -f /dev/null || kill -KILL "$pid" 2>/dev/null) &
exec 3<"$work/err"
ready=0
while IFS= read -r -t 120 line <&3; do
  echo "$line" >>"$work/sigterm.log"
  case $line in "pilot: ready"*) ready=1; break ;; esac
done
cat <&3 >>"$work/sigterm.log" &
if [ "$ready" = 1 ]; then kill -TERM "$pid"; fi
wait "$pid"
status=$?
wait
case $status in
  143) echo "ok   sigterm: ended by SIGTERM (status 143)" ;;
  0) echo "ok   sigterm: ended with status 0" ;;
  *) fail sigterm "status $status after SIGTERM" ;;
esac
check_log sigterm "ready"
exit "$failed"
