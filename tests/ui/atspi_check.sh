#!/usr/bin/env bash
# Checks once, through the real AT-SPI accessibility tree of a private X server and session bus,
# that the running program names its controls for a screen reader (atspi_check.py walks the tree).
# Usage: atspi_check.sh PATH/TO/corvani. Exits 77, which ctest counts as skipped, only when the
# desktop tools are missing; any other failure fails.
set -uo pipefail

desktop_packages="xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/desktop.sh"
desktop_program "${1:-}"

desktop_enter_session_bus "$exe"
desktop_start

desktop_run env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  "$exe" >"$work/app.log" 2>&1
app=$!

ATSPI_CHECK_PID=$app "$DESKTOP_PYTHON" "$here/atspi_check.py"
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
