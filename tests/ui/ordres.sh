#!/usr/bin/env bash
# The real program's command line, with no display at all: --help and --version answer on standard
# output and exit 0, anything unknown is refused in Catalan with status 2, and Qt's own -platform
# still reaches Qt (the pilot then leaves by the menu).
# Usage: ordres.sh PROGRAM PILOT VERSION
set -u
program=$1
pilot=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
failed=0

# name | arguments | exit status | pattern standard output must match | pattern standard error must match
# (an empty pattern means the stream must be empty)
cases=(
  "help|--help|0|^Ús: corvani \[opcions\]$|"
  "help-short|-h|0|^  -v, --version  Mostra la versió del programa i surt\.$|"
  "version|--version|0|^Corvani ${version//./\\.}$|"
  "version-short|-v|0|^Corvani ${version//./\\.}$|"
  "help-before-unknown|--help --colors|0|^Opcions:$|"
  "unknown-long|--colors|2||^corvani: l'opció «colors» no existeix\.$"
  "unknown-short|-x|2||^Vegeu «corvani --help»\.$"
  "argument|fitxer.txt|2||^corvani: el programa no pren arguments \(«fitxer\.txt»\)\.$"
  "qt-option-without-value|-platform|2||^corvani: falta el valor d'una opció de Qt\.$"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name args want out err <<<"$row"
  # shellcheck disable=SC2086
  timeout -s KILL 30 "$program" $args >"$work/out" 2>"$work/err"
  status=$?
  problem=
  [ "$status" -eq "$want" ] || problem="exit status $status, not $want"
  for stream in out err; do
    pattern=${!stream}
    if [ -z "$pattern" ]; then
      [ -s "$work/$stream" ] && problem="$problem; std$stream is not empty"
    elif ! grep -qE "$pattern" "$work/$stream"; then
      problem="$problem; std$stream does not match /$pattern/"
    fi
  done
  if [ -n "$problem" ]; then
    echo "FAIL $name ($args): ${problem#; }"
    sed 's/^/    out: /' "$work/out"
    sed 's/^/    err: /' "$work/err"
    failed=1
  else
    echo "ok   $name ($args)"
  fi
done

timeout -s KILL 120 env CORVANI_PILOT=sortir LD_PRELOAD="$pilot" "$program" -platform offscreen >"$work/out" 2>"$work/err"
status=$?
if [ "$status" -eq 0 ] && grep -q '^pilot: leaving by the menu' "$work/err"; then
  echo "ok   qt-platform-option (-platform offscreen): window opened and left by the menu"
else
  echo "FAIL qt-platform-option (-platform offscreen): exit status $status"
  sed 's/^/    err: /' "$work/err"
  failed=1
fi
exit "$failed"
