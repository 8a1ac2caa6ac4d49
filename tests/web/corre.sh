#!/usr/bin/env bash
# Runs one of the page's test files with Node's test runner in the engine CORVANI_MOTOR names
# (chromium, the default, firefox or webkit). Exit 77 (skipped) when Node, the engine, what drives
# it or puppeteer-core is missing, saying which and how to get it; a missing page is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP: $1 is missing ($2)"; exit 77; }
command -v node >/dev/null || skip node "make web-deps installs it"
case ${CORVANI_MOTOR:=chromium} in
  chromium)
    export CORVANI_CHROMIUM=${CORVANI_CHROMIUM:-/usr/bin/chromium}
    [ -x "$CORVANI_CHROMIUM" ] || skip "$CORVANI_CHROMIUM" "make web-test-deps installs chromium" ;;
  firefox)
    export CORVANI_FIREFOX=${CORVANI_FIREFOX:-/usr/bin/firefox-esr}
    [ -x "$CORVANI_FIREFOX" ] || skip "$CORVANI_FIREFOX" "make web-test-deps installs firefox-esr" ;;
  webkit)
    export CORVANI_WEBKITDRIVER=${CORVANI_WEBKITDRIVER:-WebKitWebDriver} CORVANI_XVFB=${CORVANI_XVFB:-Xvfb}
    command -v "$CORVANI_WEBKITDRIVER" >/dev/null ||
      skip "$CORVANI_WEBKITDRIVER" "make web-test-deps installs webkit2gtk-driver"
    command -v "$CORVANI_XVFB" >/dev/null || skip "$CORVANI_XVFB" "make web-test-deps installs xvfb" ;;
  *) echo "FAIL: no engine $CORVANI_MOTOR: chromium, firefox or webkit"; exit 1 ;;
esac
export CORVANI_MOTOR
[ -d "$here/node_modules/puppeteer-core" ] || skip "puppeteer-core in $here/node_modules" "make web-test-deps runs npm ci"
[ -f "${CORVANI_PAGINA:-}" ] || { echo "FAIL: no page at ${CORVANI_PAGINA:-(CORVANI_PAGINA unset)}: run make web"; exit 1; }
exec node --test "$@"
