# A private desktop for the screen-reader checks, sourced by atspi_check.sh and orca_check.sh:
# an X server, a runtime folder and the accessibility bus, inside a session bus of their own.
# Everything started here ends with the sourcing script. It sets desktop_packages, the Debian
# packages it needs, before sourcing.

# Exit 77, which ctest counts as skipped, when a piece is missing; any other failure fails.
skip() {
  echo "SKIP: $* (Debian: apt-get install $desktop_packages)"
  exit 77
}
fail() {
  echo "FAIL: $*"
  exit 1
}

# Sets exe to the program under test, the scripts' one argument.
desktop_program() {
  exe=${1:-}
  [ -n "$exe" ] || fail "usage: $0 PATH/TO/corvani"
  [ -x "$exe" ] || fail "$exe is not an executable"
}

# The session bus comes first: run the sourcing script again inside one, gone when it ends, so
# that nothing reaches the user's desktop. Call with the script's own arguments.
desktop_enter_session_bus() {
  if [ "${DESKTOP_INNER:-}" = 1 ]; then return; fi
  command -v Xvfb >/dev/null || skip "Xvfb not found"
  command -v dbus-run-session >/dev/null || skip "dbus-run-session not found"
  DESKTOP_LAUNCHER=
  for f in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$f" ] && DESKTOP_LAUNCHER=$f && break
  done
  [ -n "$DESKTOP_LAUNCHER" ] || skip "at-spi-bus-launcher not found"
  # Debian's pyatspi lives in the system interpreter, which a python3 earlier on PATH may not see.
  DESKTOP_PYTHON=
  for py in /usr/bin/python3 python3; do
    "$py" -c 'import pyatspi' 2>/dev/null && DESKTOP_PYTHON=$py && break
  done
  [ -n "$DESKTOP_PYTHON" ] || skip "python3 cannot import pyatspi"
  export DESKTOP_INNER=1 DESKTOP_LAUNCHER DESKTOP_PYTHON
  exec dbus-run-session -- bash "$0" "$@"
}

# Ends, newest first, whatever desktop_run started, and removes the work folder.
desktop_cleanup() {
  local status=$?
  for ((i = ${#desktop_pids[@]} - 1; i >= 0; i--)); do kill "${desktop_pids[i]}" 2>/dev/null; done
  for pid in "${desktop_pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
  exit "$status"
}

# Starts a command in the background, to be ended by the cleanup; its id in $!.
desktop_run() {
  "$@" &
  desktop_pids+=($!)
}

# Sets work (a scratch folder), DISPLAY and XDG_RUNTIME_DIR, and starts the X server and the
# accessibility bus with its registry.
desktop_start() {
  work=$(mktemp -d)
  desktop_pids=()
  trap desktop_cleanup EXIT
  trap 'exit 130' INT TERM

  # Xvfb picks a free display itself and writes its number once it accepts connections.
  desktop_run Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log"
  local xvfb=$!
  for _ in $(seq 100); do
    grep -q '^[0-9]' "$work/display" 2>/dev/null && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  local display
  display=$(grep -o '^[0-9]\+' "$work/display" 2>/dev/null)
  [ -n "$display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
  export DISPLAY=:$display
  echo "Xvfb on $DISPLAY"

  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR=$work/runtime
  unset WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS

  desktop_run "$DESKTOP_LAUNCHER" --launch-immediately --a11y=1 2>"$work/launcher.log"
  for _ in $(seq 100); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'; then
      return
    fi
    sleep 0.1
  done
  cat "$work/launcher.log"
  fail "the accessibility bus did not start"
}
