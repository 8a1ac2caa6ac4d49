#!/usr/bin/env bash
# The set-up's `make deps` as root, as a user with sudo and as a user without it, run against
# stand-ins for id, dpkg-query, apt-get and sudo on a PATH that holds nothing else: what it
# installs, through what, and what it tells a user who cannot install.
# Usage: deps_test.sh PATH/TO/Makefile
set -u
makefile=$1
make=$(command -v make) || { echo "make not found"; exit 1; }
grep=$(command -v grep) || { echo "grep not found"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One stand-in folder per row: id -u answers the row's user id, dpkg-query reports the packages in
# MISSING as not installed, apt-get notes each call (marked when it came through sudo).
stand_ins() {
  local bin=$1 uid=$2 with_sudo=$3
  mkdir -p "$bin"
  ln -s "$grep" "$bin/grep"
  printf '#!/bin/sh\n[ "$1" = -u ] && echo %s\n' "$uid" >"$bin/id"
  cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
for p; do :; done
case " $MISSING " in *" $p "*) echo 'deinstall ok config-files' ;; *) echo 'install ok installed' ;; esac
EOF
  printf '#!/bin/sh\necho "${VIA_SUDO:+sudo }apt-get $*" >>"$CALLS"\n' >"$bin/apt-get"
  if [ "$with_sudo" = yes ]; then
    printf '#!/bin/sh\nVIA_SUDO=1 exec "$@"\n' >"$bin/sudo"
  fi
  chmod +x "$bin"/*
}

failed=0
# name | user id | sudo on PATH | packages not installed | expected exit | expected apt-get calls | expected in the output
rows=(
  "root installs the missing ones itself|0|no|g++ strace|0|apt-get update -qq;apt-get install -y -qq --no-install-recommends g++ strace|Installing: g++ strace"
  "a user with sudo installs through it|1000|yes|strace|0|sudo apt-get update -qq;sudo apt-get install -y -qq --no-install-recommends strace|Installing: strace"
  "a user without sudo is told the command for root|1000|no|g++ strace|fails||su -c 'apt-get update && apt-get install --no-install-recommends g++ strace'"
  "a user without sudo names only what is missing|1000|no|strace|fails||Missing Debian packages: strace"
  "nothing missing asks no one for anything|1000|no||0||"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name uid with_sudo missing want_exit want_calls want_output <<<"$row"
  bin=$work/$uid-$with_sudo-${missing// /_}
  stand_ins "$bin" "$uid" "$with_sudo"
  calls=$bin.calls
  : >"$calls"
  output=$(env -i PATH="$bin" MISSING="$missing" CALLS="$calls" \
    "$make" --no-print-directory -f "$makefile" deps PACKAGES="cmake g++ strace" 2>&1)
  status=$?
  problems=()
  case $want_exit in
    0) [ "$status" = 0 ] || problems+=("exit status $status, expected 0") ;;
    fails) [ "$status" != 0 ] || problems+=("exit status 0, expected a failure") ;;
  esac
  got_calls=$(paste -sd ';' "$calls")
  [ "$got_calls" = "$want_calls" ] || problems+=("apt-get calls [$got_calls], expected [$want_calls]")
  if [ -n "$want_output" ]; then
    "$grep" -qF -- "$want_output" <<<"$output" || problems+=("no line with: $want_output")
  else
    [ -z "$output" ] || problems+=("it printed something")
  fi
  if [ ${#problems[@]} = 0 ]; then
    echo "ok   $name"
  else
    failed=1
    echo "FAIL $name"
    printf '     %s\n' "${problems[@]}"
    printf '     | %s\n' "$output"
  fi
done
exit "$failed"
