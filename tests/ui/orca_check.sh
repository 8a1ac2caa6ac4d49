#!/usr/bin/env bash
# Listens to the program with a real screen reader: Orca speaking Catalan through
# speech-dispatcher and espeak-ng to a null audio device, on a private X server and session bus;
# orca_check.py starts Orca and the program, plays a keyboard session and checks what Orca says
# at each step, as its debug log records it ("SPEECH OUTPUT" lines).
# Usage: orca_check.sh PATH/TO/corvani. Exits 77, which ctest counts as skipped, only when a piece
# is missing; any other failure fails. ORCA_CHECK_KEEP=FOLDER keeps the logs there.
set -uo pipefail

desktop_packages="orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng locales xdotool"
desktop_packages+=" xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/desktop.sh"
desktop_program "${1:-}"

if [ "${DESKTOP_INNER:-}" != 1 ]; then
  for tool in orca speech-dispatcher espeak-ng xdotool localedef; do
    command -v "$tool" >/dev/null || skip "$tool not found"
  done
  for dir in /usr/lib/speech-dispatcher-modules /usr/lib/*/speech-dispatcher-modules; do
    [ -x "$dir/sd_espeak-ng" ] && export ORCA_CHECK_MODULES=$dir && break
  done
  [ -n "${ORCA_CHECK_MODULES:-}" ] || skip "speech-dispatcher's espeak-ng module not found"
  [ -f /usr/share/i18n/locales/ca_ES ] || skip "the Catalan locale's source (ca_ES) not found"
  [ -f /usr/share/locale/ca/LC_MESSAGES/orca.mo ] || skip "Orca's Catalan messages not found"
fi

desktop_enter_session_bus "$exe"
desktop_start

# Orca, speech-dispatcher and the program see a home of their own and speak Catalan, from a
# locale built here: the machine need not have it.
mkdir -p "$work/home" "$work/locale" "$work/speechd" "$work/orca"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
  XDG_CACHE_HOME=$work/home/.cache
localedef -i ca_ES -f UTF-8 "$work/locale/ca_ES.UTF-8" >"$work/localedef.log" 2>&1 ||
  { cat "$work/localedef.log"; fail "localedef could not build ca_ES.UTF-8"; }
# Set for Orca and the program alone: this shell cannot load the locale itself.
catalan=(LOCPATH="$work/locale" LANG=ca_ES.UTF-8 LANGUAGE=ca LC_ALL=ca_ES.UTF-8)

# Speech goes through ALSA's null device: synthesized, then dropped.
cat >"$work/speechd/speechd.conf" <<EOF
AudioOutputMethod "alsa"
AudioALSADevice "null"
DefaultLanguage "ca"
AddModule "espeak-ng" "sd_espeak-ng" ""
DefaultModule espeak-ng
EOF
desktop_run speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" \
  --module-dir "$ORCA_CHECK_MODULES" --log-dir "$work" >"$work/speechd.out" 2>&1
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] || { cat "$work/speechd.out"; fail "speech-dispatcher did not start"; }

# Orca's own settings, but for the echo of every key, which would speak between the program's
# words, and braille, which has no display here.
cat >"$work/orca/user-settings.conf" <<EOF
{"general": {"enableKeyEcho": false, "enableBraille": false},
 "profiles": {"default": {"profile": ["Default", "default"]}},
 "pronunciations": {}, "keybindings": {}}
EOF
env "${catalan[@]}" ORCA_CHECK_WORK="$work" ORCA_CHECK_EXE="$exe" "$DESKTOP_PYTHON" "$here/orca_check.py"
status=$?
if [ -n "${ORCA_CHECK_KEEP:-}" ]; then
  mkdir -p "$ORCA_CHECK_KEEP"
  cp "$work"/*.log "$work"/*.out "$ORCA_CHECK_KEEP"/ 2>/dev/null
  echo "logs kept in $ORCA_CHECK_KEEP"
fi
exit "$status"
