#!/usr/bin/env bash
# The real program through a whole session under strace: it must open no file for writing, change
# nothing in the file system, and create no socket but a local (AF_UNIX) one.
# Usage: noio.sh PROGRAM PILOT
set -u
program=$1
pilot=$2
command -v strace >/dev/null || { echo "strace is missing (make deps installs it)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private runtime directory, and a private cache: if the system's font cache is out of date,
# fontconfig (a library, not the program) keeps its own cache there, so a first, untraced run
# lets it do that before the traced one.
export XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"

timeout -s KILL 120 env CORVANI_PILOT=session LD_PRELOAD="$pilot" "$program" 2>"$work/warm.log" ||
  { echo "FAIL: the untraced session ended with status $?"; cat "$work/warm.log"; exit 1; }
echo "untraced session: $(find "$XDG_CACHE_HOME" -type f | wc -l) files left in the private cache"

calls=open,openat,creat,socket,connect,mkdir,mkdirat,unlink,unlinkat,rename,renameat,renameat2,truncate,link,linkat,symlink,symlinkat
timeout -s KILL 120 strace -f -qq -o "$work/trace" -e trace=$calls -E LD_PRELOAD="$pilot" -E CORVANI_PILOT=session \
  "$program" 2>"$work/session.log"
status=$?
failed=0
fail() {
  echo "FAIL: $1"
  failed=1
}
[ "$status" -eq 0 ] || fail "the traced session ended with status $status"
grep -q '^pilot: session done (9 boxes answered)' "$work/session.log" || fail "the pilot did not play the whole session"
# The trace must be of the program: the pilot it loaded is in it.
grep -q "openat(.*$(basename "${pilot##*:}")\"" "$work/trace" || fail "the trace does not show the program starting"

# Writes: any open with a write flag, tried or done; any creat. Changes: any of the other calls
# that succeeded (Qt tries mkdir on the runtime directory, which exists, and gets EEXIST).
writes=$(grep -E '(open|openat)\(.*O_(WRONLY|RDWR|CREAT|TRUNC)|creat\(' "$work/trace")
changes=$(grep -E '(mkdir|mkdirat|unlink|unlinkat|rename|renameat|renameat2|truncate|link|linkat|symlink|symlinkat)\(.*= 0$' "$work/trace")
sockets=$(grep -E 'socket\(' "$work/trace" | grep -v 'socket(AF_UNIX')
[ -z "$writes" ] || fail "opened for writing:"$'\n'"$writes"
[ -z "$changes" ] || fail "changed the file system:"$'\n'"$changes"
[ -z "$sockets" ] || fail "created a socket that is not local:"$'\n'"$sockets"
echo "traced session: $(grep -cE 'open(at)?\(' "$work/trace") opens, $(grep -c 'socket(AF_UNIX' "$work/trace") local" \
  "sockets, connects to: $(grep -E 'connect\(' "$work/trace" | grep -oE 'sun_path="[^"]*"' | sort -u | tr '\n' ' ')"
[ "$failed" = 0 ] || sed 's/^/    /' "$work/session.log"
exit "$failed"
