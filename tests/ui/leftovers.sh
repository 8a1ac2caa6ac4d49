#!/usr/bin/env bash
# The real program on a private X server, started without a session bus, without a runtime
# directory, or without both, as root and as an unprivileged user, traced with strace: it must
# start no other program, and once it has left, nothing it started may still run and nothing it
# made may remain (a folder made and removed again leaves nothing).
# Usage: leftovers.sh PROGRAM PILOT
set -u
program=$1
pilot=$2
for tool in strace Xvfb; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (make deps installs it)"; exit 77; }
done
command -v dbus-launch >/dev/null ||
  echo "note: dbus-launch is not installed, so libdbus could not start a bus here whatever the program does"

work=$(mktemp -d)
chmod 755 "$work"
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  # Anything a run started that outlived the checks: every case's home is in its environment.
  for pid in $(grep -lz "^HOME=$work/" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do kill -KILL "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
# Copies the unprivileged user can read and run.
mkdir -m 755 "$work/bin"
cp "$program" "$work/bin/corvani"
cp "${pilot##*:}" "$work/bin/pilot.so"
chmod 755 "$work/bin/corvani" "$work/bin/pilot.so"

# A private X server: libdbus autolaunches a bus only for a program with a display.
exec 3>"$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -ac -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/displayfd" ] && break; sleep 0.1; done
[ -s "$work/displayfd" ] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
display=:$(head -n1 "$work/displayfd")

# Who runs it: root as itself and as nobody; any other user only as itself.
users=("$(id -un)")
if [ "$(id -u)" = 0 ]; then
  if command -v setpriv >/dev/null; then users+=(nobody); else echo "note: setpriv is missing: runs as root only"; fi
else
  echo "note: not root, so it runs as $(id -un) only"
fi

# name | variables left out of the environment
scenarios=(
  "no session bus|DBUS_SESSION_BUS_ADDRESS"
  "no runtime directory|XDG_RUNTIME_DIR"
  "neither|DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR"
)
calls=execve,open,openat,creat,mkdir,mkdirat,rmdir,unlink,unlinkat,rename,renameat,renameat2,link,linkat,symlink,symlinkat
failed=0
n=0
for user in "${users[@]}"; do
  as=()
  [ "$user" = "$(id -un)" ] || as=(setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" --clear-groups)
  for row in "${scenarios[@]}"; do
    IFS='|' read -r name unset <<<"$row"
    n=$((n + 1))
    case=$work/case$n
    # A home, temporary folder and runtime directory of the user's own; the font cache apart, as
    # fontconfig (a library) may write one there when the system's is out of date.
    for d in home tmp run cache; do mkdir -m 700 "$case-$d"; [ -z "${as[*]}" ] || chown "$user" "$case-$d"; done
    vars=(PATH=/usr/bin:/bin HOME="$case-home" TMPDIR="$case-tmp" XDG_CACHE_HOME="$case-cache" DISPLAY="$display"
          XDG_RUNTIME_DIR="$case-run" DBUS_SESSION_BUS_ADDRESS="unix:path=$case-run/bus"
          CORVANI_PILOT=sortir LD_PRELOAD="$work/bin/pilot.so")
    kept=()
    for v in "${vars[@]}"; do [[ " $unset " == *" ${v%%=*} "* ]] || kept+=("$v"); done
    # Untraced first, so that fontconfig's cache is in place; that run must leave nothing either.
    timeout -s KILL 120 env -i "${kept[@]}" "${as[@]}" "$work/bin/corvani" 2>"$case.warm.log" >/dev/null
    # strace as the program's grandchild (-D), so that it returns when the program ends, while
    # anything the program started is still traced.
    timeout -s KILL 120 strace -D -f -qq -o "$case.trace" -e trace=$calls \
      env -i "${kept[@]}" "${as[@]}" "$work/bin/corvani" 2>"$case.log" >/dev/null
    status=$?
    sleep 1
    problems=()
    [ "$status" -eq 0 ] || problems+=("exit status $status")
    grep -q '^pilot: leaving by the menu' "$case.log" || problems+=("the pilot did not leave by the menu")
    started=$(grep -E 'execve\(' "$case.trace" | grep -vE "execve\(\"($work/bin/corvani|/usr/bin/env|/usr/bin/setpriv)\"")
    [ -z "$started" ] || problems+=("started another program:"$'\n'"$started")
    # Whatever either run started carries the case's own home in its environment.
    pids=$(grep -lzx "HOME=$case-home" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3)
    alive=$(for pid in $pids; do ps -o pid=,user=,args= -p "$pid"; done)
    [ -z "$alive" ] || problems+=("still running:"$'\n'"$alive")
    writes=$(grep -E '(open|openat)\(.*O_(WRONLY|RDWR|CREAT|TRUNC)|creat\(' "$case.trace" | grep -v "$case-cache")
    [ -z "$writes" ] || problems+=("opened for writing:"$'\n'"$writes")
    # Changes that succeeded, less each folder made and removed again.
    made=$(grep -E 'mkdir(at)?\(.*= 0$' "$case.trace" | grep -oE '"[^"]*"' | sort -u)
    changes=$(grep -E '(mkdir|mkdirat|unlink|unlinkat|rename|renameat|renameat2|link|linkat|symlink|symlinkat)\(.*= 0$' \
      "$case.trace" | grep -v "$case-cache")
    for folder in $made; do
      grep -qE "rmdir\($folder\) += 0$" "$case.trace" && changes=$(grep -vE "(mkdir|mkdirat)\(.*$folder" <<<"$changes")
    done
    [ -z "$changes" ] || problems+=("changed the file system:"$'\n'"$changes")
    # What still runs was started by this test: it goes, once noted.
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    left=$(find "$case-home" "$case-tmp" "$case-run" -mindepth 1)
    [ -z "$left" ] || problems+=("left behind:"$'\n'"$left")
    if [ ${#problems[@]} -eq 0 ]; then
      echo "ok   $name, as $user"
    else
      echo "FAIL $name, as $user:"
      printf '%s\n' "${problems[@]}" | sed 's/^/    /'
      sed 's/^/    log: /' "$case.log"
      failed=1
    fi
  done
done
exit "$failed"
