#!/usr/bin/env bash
# Checks once, through the real AT-SPI accessibility tree of a private X server and session bus,
# that the running program names its controls for a screen reader (atspi_check.py walks the tree).
# Usage: atspi_check.sh PATH/TO/corvani. Exits 77, which ctest counts as skipped, only when the
# desktop tools are missing; any other failure fails.
set -uo pipefail

skip() {
  echo "SKIP: $* (Debian: apt-get install xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0)"
  exit 77
}
fail() {
  echo "FAIL: $*"
  exit 1
}

exe=${1:-}
[ -n "$exe" ] || fail "usage: $0 PATH/TO/corvani"
[ -x "$exe" ] || fail "$exe is not an executable"
here=$(cd "$(dirname "$0")" && pwd)

if [ "${ATSPI_CHECK_INNER:-}" != 1 ]; then
  command -v Xvfb >/dev/null || skip "Xvfb not found"
  command -v dbus-run-session >/dev/null || skip "dbus-run-session not found"
  launcher=
  for f in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$f" ] && launcher=$f && break
  done
  [ -n "$launcher" ] || skip "at-spi-bus-launcher not found"
  # Debian's pyatspi lives in the system interpreter, which a python3 earlier on PATH may not see.
  python=
  for py in /usr/bin/python3 python3; do
    "$py" -c 'import pyatspi' 2>/dev/null && python=$py && break
  done
  [ -n "$python" ] || skip "python3 cannot import pyatspi"
  export ATSPI_CHECK_INNER=1 ATSPI_CHECK_LAUNCHER=$launcher ATSPI_CHECK_PYTHON=$python
  # A private session bus, gone when the inner run ends, so nothing reaches the user's desktop.
  exec dbus-run-session -- bash "$0" "$exe"
fi

# Inside the private session bus from here on.
work=$(mktemp -d)
pids=()
cleanup() {
  local status=$?
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do
  grep -q '^[0-9]' "$work/display" 2>/dev/null && break
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.1
done
display=$(grep -o '^[0-9]\+' "$work/display" 2>/dev/null)
[ -n "$display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=:$display
echo "Xvfb on $DISPLAY"

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS

# The accessibility bus and its registry, started by us so that the cleanup can end them.
"$ATSPI_CHECK_LAUNCHER" --launch-immediately --a11y=1 2>"$work/launcher.log" &
pids+=($!)
owned=
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'; then
    owned=1
    break
  fi
  sleep 0.1
done
[ -n "$owned" ] || { cat "$work/launcher.log"; fail "the accessibility bus did not start"; }

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  "$exe" >"$work/app.log" 2>&1 &
app=$!
pids+=("$app")

ATSPI_CHECK_PID=$app "$ATSPI_CHECK_PYTHON" "$here/atspi_check.py"
status=$?
if ! kill -0 "$app" 2>/dev/null; then
  echo "the program had ended before the check finished:"
  cat "$work/app.log"
  status=1
elif [ "$status" != 0 ]; then
  echo "program output:"
  cat "$work/app.log"
fi
exit "$status"
