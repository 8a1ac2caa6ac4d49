#!/usr/bin/env bash
# The real program on private X servers of several sizes, each with a window manager (openbox): the
# window, frame included, must open whole on the screen; where the screen is too small for it, as
# large as fits, in the bench's proportions; on a large screen at its opening size, as always. What
# is measured is what the X server and the window manager report (xwininfo, xprop).
# Usage: screens.sh PROGRAM
set -u
program=$1
for tool in Xvfb openbox xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (make deps installs it)"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI WAYLAND_DISPLAY

# Starts Xvfb with the given size and openbox on it; sets $display. Each may take a while when
# other tests keep both cores busy: up to 30 s each, and what it printed is kept for the log. A
# server that names its display but cannot be reached there (seen while other tests start and end
# X servers of their own) is ended and another started, three times at most.
start_screen() {
  local try
  for try in 1 2 3; do
    start_server "$1" "$try" && return 0
  done
  return 1
}

start_server() {
  local fd=$work/displayfd-$1-$2 xvfb openbox
  exec 3>"$fd"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$1x24" >"$work/xvfb-$1.log" 2>&1 &
  xvfb=$!
  pids+=("$xvfb")
  exec 3>&-
  for _ in $(seq 300); do [ -s "$fd" ] && break; sleep 0.1; done
  if ! [ -s "$fd" ]; then
    echo "    Xvfb gave no display:"
    sed 's/^/      /' "$work/xvfb-$1.log"
    kill "$xvfb" 2>/dev/null
    return 1
  fi
  display=:$(head -n1 "$fd")
  DISPLAY=$display openbox >"$work/openbox-$1.log" 2>&1 &
  openbox=$!
  pids+=("$openbox")
  for _ in $(seq 300); do
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$openbox" 2>/dev/null || break
    sleep 0.1
  done
  echo "    openbox did not manage $display:"
  sed 's/^/      /' "$work/openbox-$1.log" "$work/xvfb-$1.log"
  kill "$openbox" "$xvfb" 2>/dev/null
  return 1
}

# The program's window once the window manager has framed it and its geometry has held for a
# second: sets x y width height (the client window: menu bar and client area) and the frame's
# left right top bottom; $seen is the last sample, for the log.
measure() {
  local window now steady=0
  seen=
  for _ in $(seq 200); do
    sleep 0.25
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -F '"Corvani (1)"' | awk '{print $1}' | head -n1)
    [ -n "$window" ] || continue
    now=$(DISPLAY=$display xwininfo -id "$window" 2>/dev/null | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
      /Width:/{w=$2} /Height:/{h=$2} /Map State:/{m=$3} END{print x, y, w, h, m}')
    now="$now $(DISPLAY=$display xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep -oE '[0-9]+, [0-9]+, [0-9]+, [0-9]+' | tr -d ,)"
    # Framed: viewable, with the frame's four extents, not all nought.
    if [ "$now" = "$seen" ] && [[ $now == *IsViewable* ]] && [ "$(wc -w <<<"$now")" -eq 9 ] &&
      [[ ${now##*IsViewable } != "0 0 0 0" ]]; then
      steady=$((steady + 1))
      [ "$steady" -ge 4 ] && break
    else
      steady=0
    fi
    seen=$now
  done
  read -r x y width height _ left right top bottom <<<"$seen"
  [ "$steady" -ge 4 ]
}

failed=0
menu=
# name | screen | what it must open at ("opening": 867 wide, as always; "fit": as large as fits)
screens=(
  "large desktop|1920x1080|opening"
  "netbook|1024x600|fit"
  "old projector|800x600|fit"
)
for row in "${screens[@]}"; do
  IFS='|' read -r name size want <<<"$row"
  sw=${size%x*}
  sh=${size#*x}
  if ! start_screen "$size"; then echo "FAIL $name ($size): Xvfb or openbox did not start"; failed=1; continue; fi
  DISPLAY=$display "$program" >"$work/log" 2>&1 &
  app=$!
  pids+=("$app")
  if ! measure; then
    echo "FAIL $name ($size): no framed window of steady size (last seen: ${seen:-nothing})"
    sed 's/^/    /' "$work/log"
    failed=1
    continue
  fi
  kill "$app"
  problems=()
  fx=$((x - left)) fy=$((y - top)) fw=$((width + left + right)) fh=$((height + top + bottom))
  ((fx >= 0 && fy >= 0 && fx + fw <= sw && fy + fh <= sh)) ||
    problems+=("the frame, ${fw}x$fh at $fx,$fy, is not whole on the screen")
  if [ "$want" = opening ]; then
    [ "$width" -eq 867 ] || problems+=("opened $width wide, not 867")
    menu=$((height - 618))
  elif [ -z "$menu" ]; then
    problems+=("no menu bar height measured on a large screen")
  else
    # The client area in the bench's proportions, and as large as fits: the frame meets an edge.
    client=$((height - menu))
    awk -v w="$width" -v h="$client" 'BEGIN { exit !((w / 867 - h / 618) ^ 2 < (1.5 / 618) ^ 2) }' ||
      problems+=("client area ${width}x$client is not in the bench's proportions (867 x 618)")
    ((fw >= sw - 2 || fh >= sh - 2)) || problems+=("the frame, ${fw}x$fh, could be larger on a ${size} screen")
  fi
  if [ ${#problems[@]} -eq 0 ]; then
    echo "ok   $name ($size): window ${width}x$height, frame ${fw}x$fh at $fx,$fy"
  else
    echo "FAIL $name ($size): window ${width}x$height at $x,$y"
    printf '    %s\n' "${problems[@]}"
    failed=1
  fi
done
exit "$failed"
