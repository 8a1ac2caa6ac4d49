#!/usr/bin/env bash
# The real program's command line, with no display at all: --help and --version answer on standard
# output and exit 0, anything unknown is refused in Catalan with status 2, a window that cannot be
# opened is one Catalan line and status 1 (no abort), and Qt's own -platform still reaches Qt (the
# pilot then leaves by the menu).
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

# An X display nothing answers on.
for n in $(seq 917 999); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
nowhere=:$n

# name | arguments | exit status | pattern standard output must match | pattern standard error must match
# | environment (an empty pattern means the stream must be empty; status 1 allows one line only)
cases=(
  "help|--help|0|^Ús: corvani \[opcions\]$|"
  "help-short|-h|0|^  -v, --version  Mostra la versió del programa i surt\.$|"
  "help-guide|--help|0|^La guia per als docents és guia-docent\.md\.gz, a la documentació del programa$|"
  "help-guide-path|--help|0|^\(/usr/share/doc/corvani/ amb el paquet de Debian\)\.$|"
  "version|--version|0|^Corvani ${version//./\\.}$|"
  "version-short|-v|0|^Corvani ${version//./\\.}$|"
  "help-before-unknown|--help --colors|0|^Opcions:$|"
  "unknown-long|--colors|2||^corvani: l'opció «colors» no existeix\.$"
  "unknown-short|-x|2||^Vegeu «corvani --help»\.$"
  "argument|fitxer.txt|2||^corvani: el programa no pren arguments \(«fitxer\.txt»\)\.$"
  "qt-option-without-value|-platform|2||^corvani: falta el valor d'una opció de Qt\.$"
  "no-display||1||^corvani: no hi ha cap pantalla on obrir la finestra: la variable DISPLAY no està definida\.$"
  "display-unreachable||1||^corvani: no es pot connectar amb la pantalla «$nowhere»\.$|DISPLAY=$nowhere"
  "display-option-unreachable|-display $nowhere|1||^corvani: no es pot connectar amb la pantalla «$nowhere»\.$"
  "platform-bogus|-platform bogus|1||^corvani: la plataforma gràfica «bogus» no està instal·lada\.$"
  "platform-variable-garbage||1||^corvani: la plataforma gràfica «garbage» no està instal·lada\.$|QT_QPA_PLATFORM=garbage"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name args want out err vars <<<"$row"
  # shellcheck disable=SC2086
  timeout -s KILL 30 env $vars "$program" $args >"$work/out" 2>"$work/err"
  status=$?
  problem=
  [ "$status" -eq "$want" ] || problem="exit status $status, not $want"
  [ "$want" -ne 1 ] || [ "$(wc -l <"$work/err")" -eq 1 ] || problem="$problem; stderr is not one line"
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
